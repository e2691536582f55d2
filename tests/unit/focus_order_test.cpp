// Tab's ring: which controls take part, in which order, and how it wraps.
#include "app/focus_order.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "definition_lookup.h"
#include "ui/main_window_definition.h"

namespace {

std::vector<std::string> Walk(const WindowDefinition& w, const IsLive& live, const char* from,
                              bool forward, int steps) {
  const std::vector<std::size_t> order = FocusOrder(w, live);
  std::vector<std::string> seen;
  std::size_t at = IndexOf(w, from);
  for (int i = 0; i < steps; ++i) {
    at = NextInFocusOrder(order, at, forward).value();
    seen.push_back(w.controls[at].name);
  }
  return seen;
}

const IsLive kAllLive = [](std::size_t) { return true; };

TEST(FocusRing, TabAndShiftTabWalkTheMainWindow) {
  EXPECT_EQ(Walk(kMainWindow, kAllLive, "按钮1", true, 8),
            (std::vector<std::string>{"按钮2", "按钮4", "按钮5", "按钮6", "超文本浏览框2", "按钮3",
                                      "按钮7", "按钮1"}));
  EXPECT_EQ(Walk(kMainWindow, kAllLive, "按钮1", false, 8),
            (std::vector<std::string>{"按钮7", "按钮3", "超文本浏览框2", "按钮6", "按钮5", "按钮4",
                                      "按钮2", "按钮1"}));
  EXPECT_EQ(Walk(kMainWindow, kAllLive, "超文本浏览框2", true, 1), std::vector<std::string>{"按钮3"});
  EXPECT_EQ(Walk(kMainWindow, kAllLive, "超文本浏览框2", false, 1), std::vector<std::string>{"按钮6"});
}

TEST(FocusRing, HiddenOrDisabledControlsAreSkipped) {
  const std::size_t panel = IndexOf(kMainWindow, "超文本浏览框2");
  const std::size_t b2 = IndexOf(kMainWindow, "按钮2");
  const IsLive live = [&](std::size_t i) { return i != panel && i != b2; };
  EXPECT_EQ(Walk(kMainWindow, live, "按钮6", true, 2), (std::vector<std::string>{"按钮3", "按钮7"}));
  EXPECT_EQ(Walk(kMainWindow, live, "按钮1", true, 1), std::vector<std::string>{"按钮4"});
  // A control that dropped out of the ring starts it again from its end.
  EXPECT_EQ(Walk(kMainWindow, live, "按钮2", true, 1), std::vector<std::string>{"按钮1"});
  EXPECT_EQ(Walk(kMainWindow, live, "按钮2", false, 1), std::vector<std::string>{"按钮7"});
}

TEST(FocusRing, LowerTabOrderFirstThenCreationOrder) {
  auto button = [](std::uint32_t id, const char* name, std::int32_t tab_order, bool tab_stop = true) {
    return ControlRecord{id, name, ControlKind::PushButton, {}, "", true, false, tab_stop, tab_order,
                         Pointer::None, {}, false, nullptr, kButtonFace, kButtonFace, nullptr};
  };
  const ControlRecord controls[] = {button(1, "a", 1), button(2, "b", 0), button(3, "c", 1),
                                    button(4, "d", 0), button(5, "e", -1, false)};
  WindowDefinition w = kMainWindow;
  w.controls = controls;
  std::vector<std::string> names;
  for (std::size_t i : FocusOrder(w, kAllLive)) names.push_back(w.controls[i].name);
  EXPECT_EQ(names, (std::vector<std::string>{"d", "b", "c", "a"}));
}

TEST(FocusRing, EmptyRingGoesNowhere) {
  EXPECT_FALSE(NextInFocusOrder({}, 0, true).has_value());
  EXPECT_EQ(NextInFocusOrder({4}, 4, true), 4u);
  EXPECT_EQ(NextInFocusOrder({4}, 4, false), 4u);
}

}  // namespace
