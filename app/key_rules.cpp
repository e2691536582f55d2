#include "app/key_rules.h"

namespace {

using Action = KeyDecision::Action;

bool IsDefaultButton(const ControlRecord& c) {
  return c.kind == ControlKind::PushButton && c.default_button;
}

KeyDecision DecideEnter(const WindowDefinition& window, std::optional<std::size_t> focused) {
  if (focused && IsDefaultButton(window.controls[*focused])) return {Action::Click, *focused};
  if (window.options.enter_moves_focus) return {Action::MoveFocusForward};
  for (std::size_t i = 0; i < window.controls.size(); ++i)
    if (IsDefaultButton(window.controls[i])) return {Action::Click, i};
  return {};
}

}  // namespace

KeyDecision DecideKey(const WindowDefinition& window, Key key, Modifiers mods,
                      std::optional<std::size_t> focused) {
  const bool none = !mods.ctrl && !mods.shift && !mods.alt;
  const bool shift_only = mods.shift && !mods.ctrl && !mods.alt;
  switch (key) {
    case Key::Tab:
      if (none) return {Action::MoveFocusForward};
      if (shift_only) return {Action::MoveFocusBackward};
      return {};
    case Key::Enter:
      return none ? DecideEnter(window, focused) : KeyDecision{};
    case Key::Escape:
      return window.options.esc_closes ? KeyDecision{Action::Close} : KeyDecision{};
    case Key::F1:
      return window.options.f1_opens_help ? KeyDecision{Action::OpenHelp} : KeyDecision{};
    case Key::Other:
      break;
  }
  return {};
}
