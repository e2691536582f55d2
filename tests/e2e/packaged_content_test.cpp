// What the buttons and the close do on disk and to processes, seen from
// outside the real launcher.
#include "launcher_process.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "processes.h"
#include "window_probe.h"

namespace {

const std::string kFolder = "C:\\Program Files\\zorvalin";
const std::string kTutorial = kFolder + "\\velto77.exe";
const std::string kNotice = kFolder + "\\tougao.txt";
const std::string kNotes = kFolder + "\\shuoming.txt";

std::string Read(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}
bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void EndAll(const char* name) {
  for (DWORD id : ProcessesNamed(name)) {
    const OwnedHandle p(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id));
    if (p && TerminateProcess(p.get(), 1)) WaitForSingleObject(p.get(), 5000);
  }
}

void RemoveWorkingFolder() {
  for (const std::string& f : {kTutorial, kNotice, kNotes}) DeleteFileA(f.c_str());
  RemoveDirectoryA(kFolder.c_str());
}

// The control ids of the buttons, by creation order.
enum Button { k按钮1 = 100, k按钮2 = 110, k按钮4 = 120, k按钮5 = 130, k按钮6 = 150, k按钮3 = 180, k按钮7 = 200 };

class LauncherActions : public testing::Test {
protected:
  void SetUp() override {
    for (const char* name : {"velto77.exe", "notepad.exe"}) EndAll(name);
    RemoveWorkingFolder();
    ASSERT_FALSE(Exists(kFolder));
  }
  void TearDown() override {
    for (const char* name : {"velto77.exe", "notepad.exe"}) EndAll(name);
  }

  void Start() {
    launcher.emplace();
    ASSERT_TRUE(launcher->Start());
    window = launcher->WaitForWindow();
    ASSERT_NE(window, nullptr);
  }

  // Presses a button as a user with a keyboard does (Tab to it, then Space)
  // until its effect shows. Wine now and then hands a key to a program the
  // launcher has just started, which takes the foreground as its window shows;
  // the user would then press again. A press that worked shows within seconds,
  // so a second press never doubles one.
  void Press(Button id, const std::function<bool()>& done) {
    const HWND button = GetDlgItem(window, id);
    ASSERT_NE(button, nullptr);
    const DWORD thread = launcher->ThreadId();
    for (int attempt = 0; attempt < 3; ++attempt) {
      for (int i = 0; i < 20 && FocusOfThread(thread) != button; ++i) {
        ASSERT_TRUE(BringToFront(window)) << "a started program keeps the keyboard";
        const HWND before = FocusOfThread(thread);
        if (before == button) break;
        PressKey(VK_TAB);
        WaitUntil([&] { return FocusOfThread(thread) != before; }, 1000);
      }
      if (FocusOfThread(thread) == button) PressKey(VK_SPACE);
      if (WaitUntil(done, 4000)) return;
    }
    ADD_FAILURE() << "the press of button " << id << " never took effect";
  }

  static std::function<bool()> Running(const char* program, std::size_t count) {
    return [=] { return ProcessesNamed(program).size() == count; };
  }

  // A program the launcher starts takes the foreground when its window shows;
  // wait for that, so that it does not snatch the keys meant for the next press.
  static void WaitUntilItTakesTheForeground(const char* program) {
    WaitUntil([&] {
      DWORD owner = 0;
      GetWindowThreadProcessId(GetForegroundWindow(), &owner);
      const std::vector<DWORD> ids = ProcessesNamed(program);
      return std::find(ids.begin(), ids.end(), owner) != ids.end();
    }, 3000);
  }

  // Waits until the launcher has handled everything sent so far.
  void Settle() {
    DWORD_PTR ignored;
    SendMessageTimeoutA(window, WM_NULL, 0, 0, 0, 10000, &ignored);
    WaitForInputIdle(launcher->Handle(), 5000);
  }

  void Close() {
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(launcher->WaitForExit(), 0u);
  }

  std::optional<LauncherProcess> launcher;
  HWND window = nullptr;
};

TEST_F(LauncherActions, WorkingFolderExistsBeforeTheWindowIsFirstVisible) {
  launcher.emplace();
  ASSERT_TRUE(launcher->Start());
  bool folder_at_first_sight = false;
  ASSERT_TRUE(WaitUntil([&] {
    const HWND w = FindMainWindowOf(launcher->ProcessId());
    if (!w || !IsWindowVisible(w)) return false;
    folder_at_first_sight = Exists(kFolder);
    return true;
  }, 15000));
  EXPECT_TRUE(folder_at_first_sight);
}

TEST_F(LauncherActions, StartTutorialWritesTheLessonAndStartsItEachClick) {
  Start();
  Press(k按钮1, Running("velto77.exe", 1));
  WaitUntilItTakesTheForeground("velto77.exe");
  const std::string packaged = Read(E2E_PACKAGED_IMAGE);
  ASSERT_EQ(packaged.size(), 15739242u);
  EXPECT_TRUE(Read(kTutorial) == packaged) << "the written lesson differs from the packaged one";

  // While it runs its file is locked: the write fails and a second copy starts.
  Press(k按钮1, Running("velto77.exe", 2));
  Settle();
  EXPECT_TRUE(Read(kTutorial) == packaged);
  EXPECT_TRUE(OtherVisibleWindowsOf(launcher->ProcessId(), window).empty()) << "no message of its own";
}

TEST_F(LauncherActions, SubmissionNoticeIsRewrittenAndOpenedOnEveryClick) {
  Start();
  Press(k按钮4, Running("notepad.exe", 1));
  WaitUntilItTakesTheForeground("notepad.exe");
  const std::string packaged = Read(kNotice);
  EXPECT_EQ(packaged.size(), 459u);
  { std::ofstream(kNotice, std::ios::binary) << "the user's own edits"; }
  Press(k按钮4, Running("notepad.exe", 2));
  EXPECT_EQ(Read(kNotice), packaged) << "the packaged text replaces the edit";
}

TEST_F(LauncherActions, NotesWithTheFolderMissingWriteNothingAndStillOpenNotepad) {
  Start();
  ASSERT_TRUE(RemoveDirectoryA(kFolder.c_str()));
  Press(k按钮7, Running("notepad.exe", 1));
  EXPECT_FALSE(Exists(kNotes));
}

TEST_F(LauncherActions, ClosingEndsTheTutorialAndRemovesTheFolderEveryTime) {
  for (int round = 0; round < 3; ++round) {
    SCOPED_TRACE(round);
    Start();
    Press(k按钮1, Running("velto77.exe", 1));
    Settle();
    Close();
    EXPECT_TRUE(ProcessesNamed("velto77.exe").empty());
    EXPECT_FALSE(Exists(kFolder)) << "the race between ending and deleting shows";
  }
}

TEST_F(LauncherActions, ClosingEndsOneOfTwoCopiesAndOneOfTwoNotepads) {
  Start();
  for (const auto& [button, program, count] : {std::tuple{k按钮1, "velto77.exe", 1u}, {k按钮1, "velto77.exe", 2u},
                                                {k按钮4, "notepad.exe", 1u}, {k按钮7, "notepad.exe", 2u}}) {
    Press(button, Running(program, count));
    WaitUntilItTakesTheForeground(program);
    Settle();
  }
  Settle();
  Close();
  EXPECT_EQ(ProcessesNamed("velto77.exe").size(), 1u);
  EXPECT_EQ(ProcessesNamed("notepad.exe").size(), 1u);
  EXPECT_TRUE(Exists(kTutorial)) << "held by the copy that still runs";
}

TEST_F(LauncherActions, ClosingSparesANotepadTheUserStartedAndRemovesAnEmptyFolder) {
  const StartedProgram users_notepad = StartProgram("notepad.exe");
  ASSERT_TRUE(users_notepad.process);
  Start();
  Close();
  EXPECT_EQ(WaitForSingleObject(users_notepad.process.get(), 500), DWORD{WAIT_TIMEOUT}) << "the user's Notepad was ended";
  EXPECT_FALSE(Exists(kFolder));
}

TEST_F(LauncherActions, EndingTheSessionIsNotRefusedAndRunsNoCleanup) {
  Start();
  DWORD_PTR answer = 0;
  ASSERT_TRUE(SendMessageTimeoutA(window, WM_QUERYENDSESSION, 0, 0, 0, 5000, &answer));
  EXPECT_EQ(answer, DWORD_PTR{TRUE});
  SendMessageTimeoutA(window, WM_ENDSESSION, TRUE, 0, 0, 5000, &answer);
  Settle();
  EXPECT_TRUE(IsWindow(window));
  EXPECT_TRUE(Exists(kFolder)) << "the cleanup ran";
  Close();
}

// The run registers a recording program for the http scheme (see
// tests/win32/prepare_host_test_drive.sh); it logs each request to PROBE_LOG.
TEST_F(LauncherActions, EachLinkButtonAsksTheShellOnceWithItsUrl) {
  const std::string log = "C:\\hosttest\\links.log";
  DeleteFileA(log.c_str());
  SetEnvironmentVariableA("PROBE_LOG", log.c_str());  // the launcher and the handler inherit it
  Start();
  auto requests = [&] {
    std::vector<std::string> urls;
    std::istringstream lines(Read(log));
    for (std::string line; std::getline(lines, line);) urls.push_back(line.substr(line.rfind(' ') + 1));
    return urls;
  };
  const std::vector<std::string> expected = {
      "\"http://" LAUNCHER_SITE_HOST "/default.html\"", "\"http://" LAUNCHER_RANKING_HOST "\"",
      "\"http://" LAUNCHER_FORUM_HOST "\""};
  std::size_t n = 0;
  for (Button b : {k按钮2, k按钮3, k按钮5}) {
    ++n;
    Press(b, [&] { return requests().size() >= n; });
  }
  Sleep(500);
  EXPECT_EQ(requests(), expected);

  for (int i = 0; i < 3; ++i) PressKey(VK_SPACE);  // three quick clicks of the focused 按钮5
  EXPECT_TRUE(WaitUntil([&] { return requests().size() >= 6; }, 15000));
  Sleep(500);
  EXPECT_EQ(requests().size(), 6u);
  SetEnvironmentVariableA("PROBE_LOG", nullptr);
}

TEST_F(LauncherActions, AuthorNoticeHoldsTheWindowUntilOk) {
  Start();
  HWND box = nullptr;
  auto notice_up = [&] { return (box = FindWindowA("#32770", "信息：")) != nullptr && IsWindowVisible(box); };
  Press(k按钮6, notice_up);
  ASSERT_TRUE(notice_up());
  std::vector<HWND> buttons;
  std::string text;
  for (HWND c : ChildrenTopToBottom(box)) {
    const LONG style = GetWindowLongA(c, GWL_STYLE);
    if (_stricmp(ClassOf(c).c_str(), "Button") == 0 && IsWindowVisible(c)) buttons.push_back(c);
    if (_stricmp(ClassOf(c).c_str(), "Static") == 0 && (style & SS_TYPEMASK) == SS_ICON)
      EXPECT_FALSE(IsWindowVisible(c) && SendMessageA(c, STM_GETICON, 0, 0)) << "the notice shows no icon";
    else if (_stricmp(ClassOf(c).c_str(), "Static") == 0 && !TextOf(c).empty())
      text = TextOf(c);
  }
  EXPECT_EQ(text, "作者暂时没有主页");
  EXPECT_EQ(buttons.size(), 1u);
  EXPECT_FALSE(IsWindowEnabled(window)) << "the main window takes no input while the notice is up";

  // A click on the main window's close box does nothing while the notice is up.
  ClickAt(CloseBoxOf(window));
  Sleep(500);
  EXPECT_TRUE(IsWindow(window));
  EXPECT_TRUE(IsWindow(box));

  // Alt+F4 reaches the notice, which it answers like OK; the main window stays.
  PressKey(VK_F4, false, true);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box) && IsWindowEnabled(window); }));
  EXPECT_TRUE(IsWindow(window));
  EXPECT_EQ(launcher->WaitForExit(0), DWORD{STILL_ACTIVE});

  Press(k按钮6, notice_up);
  ASSERT_TRUE(notice_up());
  SendMessageA(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box) && IsWindowEnabled(window); }));
  Close();
}

}  // namespace
