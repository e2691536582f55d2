// The main window's keys: which it takes, what it does with them, and how the
// definition's options and default buttons change that.
#include "app/key_rules.h"

#include <gtest/gtest.h>

#include "definition_lookup.h"
#include "ui/main_window_definition.h"

namespace {

using Action = KeyDecision::Action;

constexpr ControlRecord Button(std::uint32_t id, bool default_button) {
  return {id, "", ControlKind::PushButton, {}, "", true, false, true, 0, Pointer::None, {},
          default_button, nullptr, kButtonFace, kButtonFace, nullptr};
}
// Control 1 is the definition's first default button; control 2 is another.
constexpr ControlRecord kWithDefaults[] = {Button(1, false), Button(2, true), Button(3, true)};

WindowDefinition With(WindowOptions options, bool default_buttons) {
  WindowDefinition w = kMainWindow;
  w.options = options;
  if (default_buttons) w.controls = kWithDefaults;
  return w;
}

struct KeyCase {
  const char* what;
  WindowOptions options;
  bool default_buttons;
  Key key;
  Modifiers mods;
  std::optional<std::size_t> focused;
  Action action;
  std::size_t control;
};

constexpr WindowOptions kOff{};
constexpr WindowOptions kAllOn{true, true, true};
constexpr Modifiers kNone{}, kShift{false, true, false}, kCtrl{true, false, false}, kAlt{false, false, true},
    kCtrlShift{true, true, false};

const KeyCase kCases[] = {
    {"tab_forward", kOff, false, Key::Tab, kNone, 0, Action::MoveFocusForward, 0},
    {"shift_tab_backward", kOff, false, Key::Tab, kShift, 0, Action::MoveFocusBackward, 0},
    {"ctrl_tab_passes", kOff, false, Key::Tab, kCtrl, 0, Action::PassOn, 0},
    {"ctrl_shift_tab_passes", kOff, false, Key::Tab, kCtrlShift, 0, Action::PassOn, 0},
    {"alt_tab_passes", kOff, false, Key::Tab, kAlt, 0, Action::PassOn, 0},
    {"enter_passes_in_main_window", kOff, false, Key::Enter, kNone, 10, Action::PassOn, 0},
    {"esc_passes_in_main_window", kOff, false, Key::Escape, kNone, 10, Action::PassOn, 0},
    {"f1_passes_in_main_window", kOff, false, Key::F1, kNone, 10, Action::PassOn, 0},
    {"other_key_passes", kAllOn, true, Key::Other, kNone, 1, Action::PassOn, 0},
    {"esc_closes_when_on", kAllOn, false, Key::Escape, kNone, 0, Action::Close, 0},
    {"f1_opens_help_when_on", kAllOn, false, Key::F1, kNone, 0, Action::OpenHelp, 0},
    {"enter_moves_focus_when_on", {true, false, false}, false, Key::Enter, kNone, 0,
     Action::MoveFocusForward, 0},
    {"enter_clicks_focused_default", kAllOn, true, Key::Enter, kNone, 2, Action::Click, 2},
    {"enter_moves_before_first_default", kAllOn, true, Key::Enter, kNone, 0, Action::MoveFocusForward, 0},
    {"enter_clicks_first_default", kOff, true, Key::Enter, kNone, 0, Action::Click, 1},
    {"enter_clicks_first_default_without_focus", kOff, true, Key::Enter, kNone, std::nullopt,
     Action::Click, 1},
    {"shift_enter_passes", kOff, true, Key::Enter, kShift, 2, Action::PassOn, 0},
};

void PrintTo(const KeyCase& c, std::ostream* os) { *os << c.what; }

class KeyRules : public testing::TestWithParam<KeyCase> {};

TEST_P(KeyRules, Decides) {
  const KeyCase& c = GetParam();
  const KeyDecision d = DecideKey(With(c.options, c.default_buttons), c.key, c.mods, c.focused);
  EXPECT_EQ(d.action, c.action);
  if (c.action == Action::Click) {
    EXPECT_EQ(d.control, c.control);
  }
  EXPECT_EQ(d.Consumes(), c.action != Action::PassOn);
}

INSTANTIATE_TEST_SUITE_P(Keys, KeyRules, testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.what); });

}  // namespace
