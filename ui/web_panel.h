#pragma once
// The web panel: a host window of its own class that holds the platform's
// browser control.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>

#include "app/event_dispatch.h"

class WebPanel {
public:
  using Fire = std::function<EventOutcome(std::int32_t index)>;

  // Null when the panel cannot be made; then nothing of it is left behind.
  static std::unique_ptr<WebPanel> Create(HWND parent, const ControlRecord& record, int child_id,
                                          Fire fire);
  ~WebPanel();
  WebPanel(const WebPanel&) = delete;
  WebPanel& operator=(const WebPanel&) = delete;

  HWND hwnd() const { return hwnd_; }

private:
  explicit WebPanel(Fire fire) : fire_(std::move(fire)) {}

  Fire fire_;
  HWND hwnd_ = nullptr;
};
