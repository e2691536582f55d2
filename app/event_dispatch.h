#pragma once
// Event routing: every window and control event goes through FireEvent, which
// calls the handler the definition binds to it unless events are held.

#include <cstdint>

#include "ui/window_definition.h"

struct EventAddress {
  std::uint32_t window_id;
  std::uint32_t control_id;
  std::int32_t index;
};

struct EventOutcome {
  bool handled = false;
  bool has_value = false;
  std::int32_t value = 0;

  // The reading of firers that ask a question: only a returned false refuses.
  bool Refuses() const { return handled && has_value && value == 0; }
};

class EventDispatch {
public:
  EventDispatch(const WindowDefinition& window, HostServices& host) : window_(window), host_(host) {}

  // Raised while a window is created, and for good once shutdown starts.
  void Hold() { ++hold_count_; }
  void Release() {
    if (hold_count_ > 0) --hold_count_;
  }

  void SetLoaded(bool loaded) { loaded_ = loaded; }
  bool AnyWindowLoaded() const { return loaded_; }

  EventOutcome FireEvent(const EventAddress& address);

private:
  const WindowDefinition& window_;
  HostServices& host_;
  unsigned hold_count_ = 0;
  bool loaded_ = false;
};
