// The main window's definition: its orders, ids and settings as one table, and
// the placement rule.
#include "ui/main_window_definition.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/focus_order.h"
#include "cleanup/cleanup_on_close.h"
#include "content/extraction_actions.h"
#include "definition_lookup.h"
#include "links/link_actions.h"
#include "ui/allow_navigation.h"
#include "ui/placement.h"

namespace {

struct ControlRow {
  const char* name;
  ControlKind kind;
  Rect rect;
  const char* caption;  // UTF-8 here; the definition holds GBK
  int child_id;
  Handler bound;
};

// Definition order, which is the z-order from the top.
const ControlRow kExpected[] = {
    {"按钮7", ControlKind::PushButton, {264, 120, 88, 32}, "教程说明文件", 200, NoValue<OpenTutorialNotes>},
    {"标签3", ControlKind::Label, {8, 136, 112, 24}, "广而告知", 190, nullptr},
    {"按钮3", ControlKind::PushButton, {232, 56, 120, 32}, "Trelvax", 180, NoValue<OpenRankingSite>},
    {"超文本浏览框2", ControlKind::WebPanel, {-8, 160, 664, 176}, "", 170, NoValue<AllowNavigation>},
    {"标签2", ControlKind::Label, {8, 120, 256, 16}, "播放过程中请勿关闭此工具，不然教程可能出错", 160, nullptr},
    {"按钮6", ControlKind::PushButton, {112, 56, 112, 32}, "作者网站", 150, NoValue<ShowAuthorNotice>},
    {"标签1", ControlKind::Label, {8, 96, 312, 24}, "感谢本教程作者提供", 140, nullptr},
    {"按钮5", ControlKind::PushButton, {232, 8, 120, 32}, "zorvalin论坛", 130, NoValue<OpenForum>},
    {"按钮4", ControlKind::PushButton, {8, 56, 96, 32}, "本站投稿", 120, NoValue<OpenSubmissionNotice>},
    {"按钮2", ControlKind::PushButton, {112, 8, 112, 32}, "最全动画教程中心", 110, NoValue<OpenSitePage>},
    {"按钮1", ControlKind::PushButton, {8, 8, 96, 32}, "开始观看教程", 100, NoValue<StartTutorial>},
};

// The names in the definition are compiled as GBK like every other text; the
// expectations above are compiled the same way, so they compare byte for byte.
TEST(MainWindowDefinition, ControlsInDefinitionOrderWithIdsAndBindings) {
  ASSERT_EQ(kMainWindow.controls.size(), std::size(kExpected));
  for (std::size_t i = 0; i < std::size(kExpected); ++i) {
    const ControlRecord& c = kMainWindow.controls[i];
    const ControlRow& want = kExpected[i];
    SCOPED_TRACE(want.name);
    EXPECT_STREQ(c.name, want.name);
    EXPECT_EQ(c.kind, want.kind);
    EXPECT_EQ(c.rect.left, want.rect.left);
    EXPECT_EQ(c.rect.top, want.rect.top);
    EXPECT_EQ(c.rect.width, want.rect.width);
    EXPECT_EQ(c.rect.height, want.rect.height);
    EXPECT_STREQ(c.caption, want.caption);
    EXPECT_EQ(ChildIdOf(kMainWindow, i), want.child_id);
    const Binding* first = FindBinding(c.bindings, 0);
    EXPECT_EQ(first ? first->handler : nullptr, want.bound);
    EXPECT_EQ(c.bindings.size(), want.bound ? 1u : 0u) << "only event 0 is ever bound";
    EXPECT_TRUE(c.visible);
    EXPECT_FALSE(c.disabled);
    EXPECT_EQ(c.tab_stop, c.kind != ControlKind::Label);
    EXPECT_EQ(c.tab_order, 0);
    EXPECT_FALSE(c.default_button);
    EXPECT_EQ(c.pointer, c.kind == ControlKind::WebPanel ? Pointer::Arrow : Pointer::None);
  }
}

TEST(MainWindowDefinition, WindowSettingsAndBindings) {
  EXPECT_STREQ(kMainWindow.title, "zorvalin教程打包工具");
  EXPECT_EQ(kMainWindow.rect.width, 368);
  EXPECT_EQ(kMainWindow.rect.height, 361);
  EXPECT_TRUE(kMainWindow.centred);
  EXPECT_FALSE(kMainWindow.options.enter_moves_focus);
  EXPECT_FALSE(kMainWindow.options.esc_closes);
  EXPECT_FALSE(kMainWindow.options.f1_opens_help);
  EXPECT_TRUE(kMainWindow.background.button_face);
  ASSERT_EQ(kMainWindow.bindings.size(), 2u);
  EXPECT_EQ(FindBinding(kMainWindow.bindings, window_event::kCreationComplete)->handler,
            NoValue<PrepareWorkingFolder>);
  EXPECT_EQ(FindBinding(kMainWindow.bindings, window_event::kWillBeDestroyed)->handler,
            NoValue<CleanUpOnClose>);
  EXPECT_TRUE(IsLoadable(kMainWindow));
}

TEST(MainWindowDefinition, KindSettings) {
  const ControlRecord& notes = kMainWindow.controls[IndexOf(kMainWindow, "按钮7")];
  ASSERT_NE(notes.font, nullptr);
  EXPECT_EQ(notes.font->height, -12);
  EXPECT_EQ(notes.font->width, 0);
  EXPECT_EQ(notes.font->weight, 400);
  EXPECT_FALSE(notes.font->italic || notes.font->underline || notes.font->strike_out);
  EXPECT_STREQ(notes.font->face, "宋体");
  for (const char* other : {"按钮1", "按钮2", "按钮3", "按钮4", "按钮5", "按钮6"})
    EXPECT_EQ(kMainWindow.controls[IndexOf(kMainWindow, other)].font, nullptr) << other;

  struct LabelColour { const char* name; std::uint8_t r, g, b; };
  for (const LabelColour& l : {LabelColour{"标签1", 0, 0, 0}, {"标签2", 88, 48, 224}, {"标签3", 0, 0, 0}}) {
    const ControlRecord& c = kMainWindow.controls[IndexOf(kMainWindow, l.name)];
    EXPECT_FALSE(c.text_colour.button_face) << l.name;
    EXPECT_EQ(c.text_colour.red, l.r) << l.name;
    EXPECT_EQ(c.text_colour.green, l.g) << l.name;
    EXPECT_EQ(c.text_colour.blue, l.b) << l.name;
    EXPECT_TRUE(c.background.button_face) << l.name;
  }

  const ControlRecord& panel = kMainWindow.controls[IndexOf(kMainWindow, "超文本浏览框2")];
  ASSERT_NE(panel.web, nullptr);
  EXPECT_EQ(panel.web->text_size_step, 2);
  EXPECT_FALSE(panel.web->silent);
  EXPECT_FALSE(panel.web->offline);
  EXPECT_EQ(std::string(panel.web->address), "http://" LAUNCHER_SITE_HOST "/ad/hezuo.htm");
}

TEST(MainWindowDefinition, FocusRingOfTheLiveWindow) {
  std::vector<std::string> ring;
  for (std::size_t i : FocusOrder(kMainWindow, [](std::size_t) { return true; }))
    ring.push_back(kMainWindow.controls[i].name);
  EXPECT_EQ(ring, (std::vector<std::string>{"按钮1", "按钮2", "按钮4", "按钮5", "按钮6",
                                            "超文本浏览框2", "按钮3", "按钮7"}));
}

struct PlacementCase {
  int screen_width, screen_height;
  Rect expected;
};

void PrintTo(const PlacementCase& p, std::ostream* os) {
  *os << p.screen_width << "x" << p.screen_height;
}

class Placement : public testing::TestWithParam<PlacementCase> {};

TEST_P(Placement, CentresWithTruncatingDivision) {
  const PlacementCase& p = GetParam();
  const Rect r = CentredOnScreen(kMainWindow.rect, p.screen_width, p.screen_height);
  EXPECT_EQ(r.left, p.expected.left);
  EXPECT_EQ(r.top, p.expected.top);
  EXPECT_EQ(r.width, p.expected.width);
  EXPECT_EQ(r.height, p.expected.height);
}

INSTANTIATE_TEST_SUITE_P(Screens, Placement,
                         testing::Values(PlacementCase{1024, 768, {328, 203, 368, 361}},
                                         PlacementCase{301, 768, {-33, 203, 368, 361}},
                                         PlacementCase{368, 361, {0, 0, 368, 361}},
                                         PlacementCase{369, 200, {0, -80, 368, 361}},
                                         PlacementCase{1920, 1080, {776, 359, 368, 361}}),
                         [](const auto& info) {
                           return "screen_" + std::to_string(info.param.screen_width) + "x" +
                                  std::to_string(info.param.screen_height);
                         });

}  // namespace
