// The real launcher, seen from outside: its window, its controls, the focus
// ring under real key presses, and the ways it closes.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "launcher_process.h"
#include "processes.h"
#include "window_probe.h"

namespace {

constexpr DWORD kButtonStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP | BS_PUSHBUTTON |
                               BS_CENTER | BS_VCENTER | BS_MULTILINE;
constexpr DWORD kLabelStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
constexpr DWORD kPanelStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP;

struct ChildRow {
  const char* name;
  const char* window_class;
  const char* caption;
  Box place;
  int id;
  DWORD style;
};

// Top of the z-order first.
const ChildRow kChildren[] = {
    {"按钮7", "Button", "教程说明文件", {264, 120, 88, 32}, 200, kButtonStyle},
    {"标签3", "WTLabel", "广而告知", {8, 136, 112, 24}, 190, kLabelStyle},
    {"按钮3", "Button", "Trelvax", {232, 56, 120, 32}, 180, kButtonStyle},
    {"超文本浏览框2", "WTWebPanelHost", "", {-8, 160, 664, 176}, 170, kPanelStyle},
    {"标签2", "WTLabel", "播放过程中请勿关闭此工具，不然教程可能出错", {8, 120, 256, 16}, 160, kLabelStyle},
    {"按钮6", "Button", "作者网站", {112, 56, 112, 32}, 150, kButtonStyle},
    {"标签1", "WTLabel", "感谢本教程作者提供", {8, 96, 312, 24}, 140, kLabelStyle},
    {"按钮5", "Button", "zorvalin论坛", {232, 8, 120, 32}, 130, kButtonStyle},
    {"按钮4", "Button", "本站投稿", {8, 56, 96, 32}, 120, kButtonStyle},
    {"按钮2", "Button", "最全动画教程中心", {112, 8, 112, 32}, 110, kButtonStyle},
    {"按钮1", "Button", "开始观看教程", {8, 8, 96, 32}, 100, kButtonStyle},
};

// The control that holds the window: the web panel passes its focus on to the
// browser control inside it.
std::string NameOf(HWND window) {
  HWND control = window;
  while (control && GetParent(control) && ClassOf(GetParent(control)) != "WTWindow")
    control = GetParent(control);
  for (const ChildRow& row : kChildren)
    if (GetDlgCtrlID(control) == row.id) return row.name;
  return window ? "(window " + ClassOf(window) + ")" : "(none)";
}

class LauncherWindow : public testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(launcher.Start()) << "launcher.exe beside the driver";
    window = launcher.WaitForWindow();
    ASSERT_NE(window, nullptr) << "no visible main window";
  }

  // Keys go to the foreground window; the launcher takes it when it shows,
  // but make sure before pressing.
  void MakeActive() { ASSERT_TRUE(BringToFront(window)); }

  HWND Focus() const { return FocusOfThread(launcher.ThreadId()); }

  std::string FocusAfter(WORD key, bool shift = false) {
    const HWND before = Focus();
    PressKey(key, shift);
    WaitUntil([&] { return Focus() != before; }, 1000);
    return NameOf(Focus());
  }

  LauncherProcess launcher;
  HWND window = nullptr;
};

TEST_F(LauncherWindow, FrameIsCentredFixedAndTitled) {
  EXPECT_EQ(ClassOf(window), "WTWindow");
  EXPECT_EQ(TextOf(window), "zorvalin教程打包工具");
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);
  EXPECT_EQ(PlaceOnScreen(window), (Box{328, 203, 368, 361}));

  const DWORD style = GetWindowLongA(window, GWL_STYLE);
  EXPECT_EQ(style & ~(WS_VISIBLE | WS_CLIPSIBLINGS), DWORD{WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN});
  EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
  EXPECT_EQ(GetWindowLongA(window, GWL_EXSTYLE) & ~WS_EX_WINDOWEDGE, 0);
  EXPECT_EQ(GetWindow(window, GW_OWNER), nullptr);
  EXPECT_EQ(GetParent(window), nullptr);
  EXPECT_EQ(GetClassLongA(window, GCL_STYLE), DWORD{CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS});
}

TEST_F(LauncherWindow, ElevenControlsInZOrderWithTheirSettings) {
  const std::vector<HWND> children = ChildrenTopToBottom(window);
  ASSERT_EQ(children.size(), std::size(kChildren));
  for (std::size_t i = 0; i < children.size(); ++i) {
    const HWND c = children[i];
    const ChildRow& want = kChildren[i];
    SCOPED_TRACE(want.name);
    EXPECT_EQ(GetDlgCtrlID(c), want.id);
    EXPECT_STRCASEEQ(ClassOf(c).c_str(), want.window_class);
    EXPECT_EQ(TextOf(c), want.caption);
    EXPECT_EQ(PlaceInParent(c), want.place);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(c, GWL_STYLE)), want.style);
    EXPECT_EQ(GetWindowLongA(c, GWL_EXSTYLE), 0);
  }
}

TEST_F(LauncherWindow, TabWalksTheRingBothWays) {
  EXPECT_EQ(NameOf(Focus()), "按钮1") << "the first button holds the focus after start";
  MakeActive();
  std::vector<std::string> forward, backward;
  for (int i = 0; i < 8; ++i) forward.push_back(FocusAfter(VK_TAB));
  EXPECT_EQ(forward, (std::vector<std::string>{"按钮2", "按钮4", "按钮5", "按钮6", "超文本浏览框2",
                                               "按钮3", "按钮7", "按钮1"}));
  for (int i = 0; i < 8; ++i) backward.push_back(FocusAfter(VK_TAB, true));
  EXPECT_EQ(backward, (std::vector<std::string>{"按钮7", "按钮3", "超文本浏览框2", "按钮6", "按钮5",
                                                "按钮4", "按钮2", "按钮1"}));
}

TEST_F(LauncherWindow, FocusComesBackAfterAnotherProgramHadIt) {
  MakeActive();
  EXPECT_EQ(FocusAfter(VK_TAB), "按钮2");
  EXPECT_EQ(FocusAfter(VK_TAB), "按钮4");
  // The user switches to another program and back.
  const StartedProgram notepad = StartProgram("notepad.exe");
  ASSERT_TRUE(notepad.process);
  HWND other = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (other = FindMainWindowOfAnyClass(notepad.id)) != nullptr; }));
  ASSERT_TRUE(BringToFront(other));
  EXPECT_NE(GetForegroundWindow(), window);
  MakeActive();
  EXPECT_TRUE(WaitUntil([&] { return NameOf(Focus()) == "按钮4"; }, 2000)) << NameOf(Focus());
  TerminateProcess(notepad.process.get(), 0);
}

TEST_F(LauncherWindow, EnterEscAndF1LeaveTheWindowOpen) {
  MakeActive();
  for (WORD key : {VK_RETURN, VK_ESCAPE, VK_F1}) PressKey(key);
  Sleep(500);
  EXPECT_TRUE(IsWindowVisible(window));
  EXPECT_EQ(launcher.WaitForExit(0), STILL_ACTIVE);
  EXPECT_EQ(NameOf(Focus()), "按钮1");
  EXPECT_TRUE(OtherVisibleWindowsOf(launcher.ProcessId(), window).empty());
}

TEST_F(LauncherWindow, LabelsPaintTheirColoursOnButtonFace) {
  RECT client;
  GetClientRect(window, &client);
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
  const ScreenCapture shot(client);
  shot.SaveBmp(DriverFolder() + "main-window.bmp");

  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  auto area = [](const char* name) {
    for (const ChildRow& row : kChildren)
      if (std::string(row.name) == name)
        return RECT{row.place.left, row.place.top, row.place.left + row.place.width,
                    row.place.top + row.place.height};
    return RECT{};
  };
  struct { const char* name; COLORREF text; } labels[] = {
      {"标签1", RGB(0, 0, 0)}, {"标签2", RGB(88, 48, 224)}, {"标签3", RGB(0, 0, 0)}};
  for (const auto& label : labels) {
    const RECT r = area(label.name);
    EXPECT_TRUE(shot.HasColourIn(r, label.text)) << label.name;
    EXPECT_EQ(shot.Pixel(r.right - 1, r.bottom - 1), face) << label.name << " background";
  }
  EXPECT_FALSE(shot.HasColourIn(area("标签2"), RGB(0, 0, 0))) << "no black in the coloured label";
  EXPECT_EQ(shot.Pixel(340, 100), face) << "the window's own background";
}

struct CloseCase {
  const char* what;
  void (*close)(HWND);
};

void PrintTo(const CloseCase& c, std::ostream* os) { *os << c.what; }

class ClosingTheWindow : public LauncherWindow, public testing::WithParamInterface<CloseCase> {};

TEST_P(ClosingTheWindow, EndsTheProcessWithExitCodeZero) {
  MakeActive();
  GetParam().close(window);
  EXPECT_EQ(launcher.WaitForExit(), 0u);
}

void ClickCloseBox(HWND window) {
  const POINT p = CloseBoxOf(window);
  DWORD_PTR hit = 0;
  SendMessageTimeoutA(window, WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y), SMTO_ABORTIFHUNG, 2000, &hit);
  EXPECT_EQ(hit, DWORD_PTR{HTCLOSE}) << "aimed at the close box";
  // Wine's virtual desktop now and then drops a synthetic click; another click
  // on a close box that already worked finds no window.
  for (int attempt = 0; attempt < 3 && IsWindow(window); ++attempt) {
    ClickAt(p);
    WaitUntil([&] { return !IsWindow(window); }, 2000);
  }
}

INSTANTIATE_TEST_SUITE_P(Ways, ClosingTheWindow,
                         testing::Values(CloseCase{"CloseBox", ClickCloseBox},
                                         CloseCase{"AltF4", [](HWND) { PressKey(VK_F4, false, true); }}),
                         [](const auto& info) { return std::string(info.param.what); });

}  // namespace
