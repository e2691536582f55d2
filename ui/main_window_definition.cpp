#include "ui/main_window_definition.h"

#include "cleanup/cleanup_on_close.h"
#include "content/extraction_actions.h"
#include "links/link_actions.h"
#include "links/site_addresses.h"
#include "ui/allow_navigation.h"

namespace {

constexpr Binding kWindowBindings[] = {
    {window_event::kCreationComplete, NoValue<PrepareWorkingFolder>},
    {window_event::kWillBeDestroyed, NoValue<CleanUpOnClose>},
};

template <void (*Action)(HostServices&)>
constexpr Binding kOnClick[] = {{button_event::kClick, NoValue<Action>}};

constexpr Binding kPanelBindings[] = {{web_panel_event::kBeforeNavigate, NoValue<AllowNavigation>}};

constexpr FontDescription kSongTi12{-12, 0, 0, 0, 400, false, false, false, "宋体"};

constexpr WebPanelSettings kAdPanel{kAdvertisingPage, 2, false, false};

constexpr ControlRecord Button(std::uint32_t id, const char* name, Rect rect, const char* caption,
                               std::span<const Binding> bindings,
                               const FontDescription* font = nullptr) {
  return {id, name, ControlKind::PushButton, rect, caption, true, false, true, 0, Pointer::None,
          bindings, false, font, kButtonFace, kButtonFace, nullptr};
}

constexpr ControlRecord Label(std::uint32_t id, const char* name, Rect rect, const char* caption,
                              Colour text) {
  return {id, name, ControlKind::Label, rect, caption, true, false, false, 0, Pointer::None,
          {}, false, nullptr, text, kButtonFace, nullptr};
}

constexpr ControlRecord kControls[] = {
    Button(1, "按钮7", {264, 120, 88, 32}, "教程说明文件", kOnClick<OpenTutorialNotes>, &kSongTi12),
    Label(2, "标签3", {8, 136, 112, 24}, "广而告知", Rgb(0, 0, 0)),
    Button(3, "按钮3", {232, 56, 120, 32}, "Trelvax", kOnClick<OpenRankingSite>),
    {4, "超文本浏览框2", ControlKind::WebPanel, {-8, 160, 664, 176}, "", true, false, true, 0,
     Pointer::Arrow, kPanelBindings, false, nullptr, kButtonFace, kButtonFace, &kAdPanel},
    Label(5, "标签2", {8, 120, 256, 16}, "播放过程中请勿关闭此工具，不然教程可能出错",
          Rgb(88, 48, 224)),
    Button(6, "按钮6", {112, 56, 112, 32}, "作者网站", kOnClick<ShowAuthorNotice>),
    Label(7, "标签1", {8, 96, 312, 24}, "感谢本教程作者提供", Rgb(0, 0, 0)),
    Button(8, "按钮5", {232, 8, 120, 32}, "zorvalin论坛", kOnClick<OpenForum>),
    Button(9, "按钮4", {8, 56, 96, 32}, "本站投稿", kOnClick<OpenSubmissionNotice>),
    Button(10, "按钮2", {112, 8, 112, 32}, "最全动画教程中心", kOnClick<OpenSitePage>),
    Button(11, "按钮1", {8, 8, 96, 32}, "开始观看教程", kOnClick<StartTutorial>),
};

}  // namespace

const WindowDefinition kMainWindow{
    .id = 1,
    .self_id = 0,
    .title = "zorvalin教程打包工具",
    .rect = {50, 50, 368, 361},
    .centred = true,
    .visible = true,
    .options = {.enter_moves_focus = false, .esc_closes = false, .f1_opens_help = false},
    .background = kButtonFace,
    .bindings = kWindowBindings,
    .controls = kControls,
};
