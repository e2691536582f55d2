#pragma once
// What the main window makes of a key press before the focused control sees it.

#include <cstddef>
#include <optional>

#include "ui/window_definition.h"

enum class Key { Tab, Enter, Escape, F1, Other };

struct Modifiers {
  bool ctrl = false, shift = false, alt = false;
};

struct KeyDecision {
  enum class Action { PassOn, MoveFocusForward, MoveFocusBackward, Click, Close, OpenHelp };
  Action action = Action::PassOn;
  std::size_t control = 0;  // for Click: the index in window.controls

  bool Consumes() const { return action != Action::PassOn; }
};

// `focused` is the control that holds the focus, if any.
KeyDecision DecideKey(const WindowDefinition& window, Key key, Modifiers mods,
                      std::optional<std::size_t> focused);
