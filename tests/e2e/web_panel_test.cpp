// The web panel of the real launcher, seen from outside: the browser control in
// its host, the focus ring through it, the page it asks for while the window is
// still being made, and the fatal box when there is no browser control at all.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "content/packaged_paths.h"
#include "launcher_process.h"
#include "loopback_http_server.h"
#include "window_probe.h"

namespace {

constexpr int kPanelId = 170, kButton3Id = 180, kButton6Id = 150;

HWND ChildWithId(HWND parent, int id) {
  for (HWND w : ChildrenTopToBottom(parent))
    if (GetDlgCtrlID(w) == id) return w;
  return nullptr;
}

// "Class (left,top,width,height)" for each window under `root`, indented by depth.
void DescribeTree(HWND root, int depth, std::string& out) {
  for (HWND w : ChildrenTopToBottom(root)) {
    const Box b = PlaceInParent(w);
    out += std::string(2 * depth, ' ') + ClassOf(w) + " (" + std::to_string(b.left) + "," +
           std::to_string(b.top) + "," + std::to_string(b.width) + "," + std::to_string(b.height) +
           ")" + (IsWindowVisible(w) ? "" : " hidden") + "\n";
    DescribeTree(w, depth + 1, out);
  }
}

void CollectDescendants(HWND root, std::vector<HWND>& out) {
  for (HWND w : ChildrenTopToBottom(root)) {
    out.push_back(w);
    CollectDescendants(w, out);
  }
}

class WebPanelInTheWindow : public testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(launcher.Start()) << "launcher.exe beside the driver";
    window = launcher.WaitForWindow();
    ASSERT_NE(window, nullptr) << "no visible main window";
    panel = ChildWithId(window, kPanelId);
    ASSERT_NE(panel, nullptr);
  }

  // Keys go to the foreground window.
  void MakeActive() { ASSERT_TRUE(BringToFront(window)); }

  HWND Focus() const { return FocusOfThread(launcher.ThreadId()); }
  bool FocusInPanel() const { return IsChild(panel, Focus()) != FALSE; }
  HWND FocusAfter(WORD key, bool shift = false) {
    const HWND before = Focus();
    PressKey(key, shift);
    WaitUntil([&] { return Focus() != before; }, 1000);
    return Focus();
  }

  LauncherProcess launcher;
  HWND window = nullptr, panel = nullptr;
};

TEST_F(WebPanelInTheWindow, HoldsTheBrowserControlFillingItsHost) {
  EXPECT_EQ(ClassOf(panel), "WTWebPanelHost");
  EXPECT_EQ(PlaceInParent(panel), (Box{-8, 160, 664, 176}));
  EXPECT_TRUE(GetWindowLongA(panel, GWL_STYLE) & WS_TABSTOP);

  std::string tree;
  DescribeTree(panel, 0, tree);
  RecordProperty("panel_tree", tree);
  const std::vector<HWND> inside = ChildrenTopToBottom(panel);
  ASSERT_EQ(inside.size(), 1u) << tree;
  EXPECT_EQ(ClassOf(inside[0]), "Shell Embedding") << tree;
  EXPECT_TRUE(IsWindowVisible(inside[0]));
  EXPECT_EQ(PlaceInParent(inside[0]), (Box{0, 0, 664, 176})) << tree;
}

// From the panel, or the control's window right inside it, Tab and Shift+Tab
// go on to the panel's neighbours; from a window deeper inside the control
// (Wine makes a "Shell DocObject View" there once navigation starts) both keys
// are taken and the focus stays.
TEST_F(WebPanelInTheWindow, TabMovesOnFromThePanelAndStaysDeeperInside) {
  MakeActive();
  for (int i = 0; i < 8 && !FocusInPanel(); ++i) FocusAfter(VK_TAB);
  ASSERT_TRUE(FocusInPanel()) << "Tab reaches the panel";
  const HWND control_window = Focus();
  EXPECT_EQ(GetParent(control_window), panel)
      << "the host passed the focus to the control's window, " << ClassOf(control_window);
  EXPECT_EQ(GetDlgCtrlID(FocusAfter(VK_TAB)), kButton3Id) << "Tab from the panel";
  FocusAfter(VK_TAB, true);
  ASSERT_TRUE(FocusInPanel()) << "Shift+Tab back into the panel";
  EXPECT_EQ(GetDlgCtrlID(FocusAfter(VK_TAB, true)), kButton6Id) << "Shift+Tab from the panel";

  std::vector<HWND> deeper;
  CollectDescendants(control_window, deeper);
  HWND target = nullptr;
  for (HWND w : deeper)
    if (IsWindowVisible(w) && IsWindowEnabled(w)) target = w;
  ASSERT_NE(target, nullptr) << "a window below " << ClassOf(control_window);
  // Another thread's window takes the focus only from a thread sharing its input.
  AttachThreadInput(GetCurrentThreadId(), launcher.ThreadId(), TRUE);
  SetFocus(target);
  AttachThreadInput(GetCurrentThreadId(), launcher.ThreadId(), FALSE);
  ASSERT_EQ(Focus(), target) << ClassOf(target);
  for (bool shift : {false, true}) {
    PressKey(VK_TAB, shift);
    Sleep(300);
    EXPECT_EQ(Focus(), target) << (shift ? "Shift+Tab" : "Tab") << " from " << ClassOf(target);
  }
}

// The build beside the driver whose site host is this loopback server's.
constexpr char kLoopbackLauncher[] = "launcher-loopback-site.exe";

// Wine's control sends the request from a thread of its own a few
// milliseconds after Navigate returns, which races the rest of LoadWindow: the
// request lands just before or just after the window shows. That navigation
// starts in the panel's turn, before anything is shown, is checked in-process
// (tests/win32/web_panel_test.cpp); here, that the built launcher asks its own
// site for the page.
TEST(WebPanelNavigation, AsksItsSiteForTheAdvertisingPage) {
  LauncherProcess launcher;
  volatile LONG window_visible_at_request = -1;  // set from the server's thread
  LoopbackHttpServer server(LAUNCHER_TEST_SITE_PORT, LoopbackHttpServer::Reply::Hold,
                            [&](const std::string&) {
                              const HWND w = FindMainWindowOf(launcher.ProcessId());
                              InterlockedCompareExchange(&window_visible_at_request,
                                                         w && IsWindowVisible(w) ? 1 : 0, -1);
                            });
  ASSERT_TRUE(server.Listening()) << "127.0.0.1:" << LAUNCHER_TEST_SITE_PORT;
  ASSERT_TRUE(launcher.Start(kLoopbackLauncher));
  EXPECT_TRUE(server.WaitForGet("/ad/hezuo.htm", 15000));
  const std::vector<std::string> requests = server.Requests();
  ASSERT_FALSE(requests.empty());
  EXPECT_EQ(requests.front(), "GET /ad/hezuo.htm HTTP/1.1");
  RecordProperty("window_visible_at_request",
                 InterlockedCompareExchange(&window_visible_at_request, 0, 0) == 1 ? "yes" : "no");
  EXPECT_NE(launcher.WaitForWindow(), nullptr);
}

// Runs only as its own ctest entry, where the run's Wine has the browser
// control's DLL disabled (WINEDLLOVERRIDES=ieframe=d).
bool BrowserDisabledForThisRun() {
  char overrides[512] = "";
  GetEnvironmentVariableA("WINEDLLOVERRIDES", overrides, sizeof overrides);
  return std::string(overrides).find("ieframe=d") != std::string::npos;
}

HWND MessageBoxOf(DWORD process_id) {
  for (HWND w : OtherVisibleWindowsOf(process_id, nullptr))
    if (ClassOf(w) == "#32770") return w;
  return nullptr;
}

TEST(BrowserUnavailable, LoadingFailsWithTheFatalBoxAndExitCodeMinusOne) {
  if (!BrowserDisabledForThisRun()) GTEST_SKIP() << "the browser control is available in this run";
  const bool folder_there_before = GetFileAttributesA(kWorkingFolder) != INVALID_FILE_ATTRIBUTES;
  LauncherProcess launcher;
  ASSERT_TRUE(launcher.Start());
  HWND box = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (box = MessageBoxOf(launcher.ProcessId())) != nullptr; }, 15000))
      << "no message box";

  EXPECT_EQ(TextOf(box), "错误");
  std::vector<HWND> icons, texts, buttons;
  for (HWND c : ChildrenTopToBottom(box)) {
    if (!IsWindowVisible(c)) continue;
    const DWORD style = static_cast<DWORD>(GetWindowLongA(c, GWL_STYLE));
    if (ClassOf(c) == "Static") ((style & SS_TYPEMASK) == SS_ICON ? icons : texts).push_back(c);
    if (ClassOf(c) == "Button") buttons.push_back(c);
  }
  ASSERT_EQ(icons.size(), 1u);
  EXPECT_NE(SendMessageA(icons[0], STM_GETICON, 0, 0), 0) << "an icon in it";
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(TextOf(texts[0]), "运行时出错!\r\n\r\n错误信息：载入启动窗口失败\r\n");
  ASSERT_EQ(buttons.size(), 1u);
  EXPECT_EQ(GetDlgCtrlID(buttons[0]), IDOK);

  const HWND main = FindMainWindowOf(launcher.ProcessId());
  EXPECT_TRUE(main == nullptr || !IsWindowVisible(main)) << "the main window never shows";
  EXPECT_EQ(OtherVisibleWindowsOf(launcher.ProcessId(), box), std::vector<HWND>{});
  // No handler ran: the creation-complete one would have made the working folder.
  if (!folder_there_before) {
    EXPECT_EQ(GetFileAttributesA(kWorkingFolder), INVALID_FILE_ATTRIBUTES);
  }

  // Enter presses the box's default button, as a user would.
  ASSERT_TRUE(WaitUntil([&] { return ActiveOfThread(launcher.ThreadId()) == box; }));
  PressKey(VK_RETURN);
  EXPECT_EQ(launcher.WaitForExit(), 0xFFFFFFFFu);
}

}  // namespace
