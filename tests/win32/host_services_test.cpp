// The host operations against real files, processes, the shell and message
// boxes of a Wine prefix made for this run.
#include "host/win32_host_services.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "host/win32_owners.h"
#include "processes.h"

namespace {

const std::string kRoot = "C:\\hosttest";

std::string Folder(const std::string& name) {
  const std::string path = kRoot + "\\" + name;
  CreateDirectoryA(kRoot.c_str(), nullptr);
  CreateDirectoryA(path.c_str(), nullptr);
  return path;
}

std::string BesideTests(const char* file) {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path);
  return folder.substr(0, folder.find_last_of('\\') + 1) + file;
}

std::string Read(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

void Write(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::span<const std::uint8_t> Bytes(const std::string& s) {
  return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

// Processes whose parent is this test, by executable name.
std::vector<DWORD> ChildrenNamed(const char* name) { return ProcessesNamed(name, GetCurrentProcessId()); }

bool IsRunning(DWORD id) {
  const OwnedHandle p(OpenProcess(SYNCHRONIZE, FALSE, id));
  return p && WaitForSingleObject(p.get(), 0) == WAIT_TIMEOUT;
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeout_ms = 5000) {
  for (const DWORD start = GetTickCount(); !condition(); Sleep(20))
    if (GetTickCount() - start > timeout_ms) return false;
  return true;
}

// Everything a test starts ends with it, whatever the outcome.
class HostTest : public testing::Test {
protected:
  void SetUp() override {
    log_ = Folder("logs") + "\\" + testing::UnitTest::GetInstance()->current_test_info()->name() + ".log";
    DeleteFileA(log_.c_str());
    SetEnvironmentVariableA("PROBE_LOG", log_.c_str());
    SetEnvironmentVariableA("PROBE_TITLE", "probe");
  }
  void TearDown() override {
    for (const char* name : {"probe_program.exe", "notepad.exe", "velto77.exe", "Program.exe"})
      for (DWORD id : ChildrenNamed(name)) {
        const OwnedHandle p(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id));
        if (p) TerminateProcess(p.get(), 1), WaitForSingleObject(p.get(), 5000);
      }
  }
  // Starts a program the way a stranger would: not through the host.
  DWORD StartStranger(const std::string& path) { return StartProgram("\"" + path + "\"").id; }
  std::string Log() const { return Read(log_); }

  Win32HostServices host;
  std::string log_;
};

// --- WriteBlockToFile -------------------------------------------------------

TEST_F(HostTest, WriteCreatesTruncatesAndWritesEmptyBlocks) {
  const std::string path = Folder("write") + "\\file.bin";
  DeleteFileA(path.c_str());
  EXPECT_TRUE(host.WriteBlockToFile(path.c_str(), Bytes("first contents")));
  EXPECT_EQ(Read(path), "first contents");
  EXPECT_TRUE(host.WriteBlockToFile(path.c_str(), Bytes("short")));
  EXPECT_EQ(Read(path), "short") << "an existing file is truncated";
  EXPECT_TRUE(host.WriteBlockToFile(path.c_str(), {}));
  EXPECT_TRUE(Exists(path));
  EXPECT_EQ(Read(path), "");
}

TEST_F(HostTest, WriteThatCannotOpenLeavesEverythingAsItWas) {
  EXPECT_FALSE(host.WriteBlockToFile("", Bytes("x")));
  EXPECT_FALSE(host.WriteBlockToFile((kRoot + "\\no such folder\\file.bin").c_str(), Bytes("x")));
  EXPECT_FALSE(Exists(kRoot + "\\no such folder"));

  // A running executable is held by its process.
  const std::string running = Folder("running") + "\\probe_program.exe";
  ASSERT_TRUE(CopyFileA(BesideTests("probe_program.exe").c_str(), running.c_str(), FALSE));
  const std::string before = Read(running);
  ASSERT_NE(StartStranger(running), 0u);
  EXPECT_FALSE(host.WriteBlockToFile(running.c_str(), Bytes("overwritten")));
  EXPECT_EQ(Read(running), before);
}

// C:\hosttest\small is a 64 KiB filesystem that the test run mounts.
TEST_F(HostTest, WriteThatFailsMidwayLeavesNoPartialFile) {
  const std::string path = kRoot + "\\small\\too-big.bin";
  ASSERT_TRUE(Exists(kRoot + "\\small")) << "the run's small filesystem is missing";
  const std::string big(1 << 20, 'x');
  EXPECT_FALSE(host.WriteBlockToFile(path.c_str(), Bytes(big)));
  EXPECT_FALSE(Exists(path));
  EXPECT_TRUE(host.WriteBlockToFile((kRoot + "\\small\\fits.bin").c_str(), Bytes("fits")));
}

// --- RunProgram ---------------------------------------------------------------

TEST_F(HostTest, RunStartsExactlyTheGivenFileInANormalWindow) {
  const std::string folder = kRoot + "\\Program Files";
  CreateDirectoryA(kRoot.c_str(), nullptr);
  CreateDirectoryA(folder.c_str(), nullptr);
  CreateDirectoryA((folder + "\\zorvalin").c_str(), nullptr);
  const std::string program = folder + "\\zorvalin\\velto77.exe";
  const std::string planted = kRoot + "\\Program.exe";  // where an unquoted path would lead first
  ASSERT_TRUE(CopyFileA(BesideTests("probe_program.exe").c_str(), program.c_str(), FALSE));
  ASSERT_TRUE(CopyFileA(BesideTests("probe_program.exe").c_str(), planted.c_str(), FALSE));

  EXPECT_TRUE(host.RunProgram(program.c_str()));
  ASSERT_TRUE(WaitUntil([&] { return !Log().empty(); }));
  const std::string line = Log();
  EXPECT_EQ(line.substr(0, line.find('|')), program) << line;
  EXPECT_EQ(line.find("Program.exe|"), std::string::npos) << "the planted program ran";

  const std::vector<DWORD> started = ChildrenNamed("velto77.exe");
  ASSERT_EQ(started.size(), 1u);
  HWND window = nullptr;
  WaitUntil([&] {
    window = FindWindowA("ProbeProgram", "probe");
    return window != nullptr;
  });
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(IsWindowVisible(window));
  EXPECT_FALSE(IsIconic(window));
  EXPECT_FALSE(IsZoomed(window));
}

TEST_F(HostTest, RunOfAMissingFileStartsNothing) {
  EXPECT_FALSE(host.RunProgram((kRoot + "\\missing\\velto77.exe").c_str()));
  Sleep(300);
  EXPECT_TRUE(Log().empty());
}

// --- TerminateProcessByName ------------------------------------------------------

TEST_F(HostTest, TerminateEndsOneStartedProcessPerCallEarliestFirst) {
  const std::string program = BesideTests("probe_program.exe");
  ASSERT_TRUE(host.RunProgram(program.c_str()));
  const std::vector<DWORD> first = ChildrenNamed("probe_program.exe");
  ASSERT_EQ(first.size(), 1u);
  ASSERT_TRUE(host.RunProgram(program.c_str()));
  ASSERT_EQ(ChildrenNamed("probe_program.exe").size(), 2u);

  EXPECT_TRUE(host.TerminateProcessByName("PROBE_program.exe")) << "case is ignored";
  EXPECT_TRUE(WaitUntil([&] { return !IsRunning(first[0]); }));
  EXPECT_EQ(ChildrenNamed("probe_program.exe").size(), 1u);
  EXPECT_TRUE(host.TerminateProcessByName("probe_program.exe"));
  EXPECT_TRUE(WaitUntil([&] { return ChildrenNamed("probe_program.exe").empty(); }));
  EXPECT_FALSE(host.TerminateProcessByName("probe_program.exe")) << "nothing left that we started";
  EXPECT_FALSE(host.TerminateProcessByName(""));
}

TEST_F(HostTest, TerminateNeverEndsWhatTheLauncherDidNotStart) {
  const DWORD notepad = StartStranger("C:\\windows\\system32\\notepad.exe");
  ASSERT_NE(notepad, 0u);
  SetEnvironmentVariableA("PROBE_TITLE", "velto77.exe");
  const DWORD titled = StartStranger(BesideTests("probe_program.exe"));
  ASSERT_NE(titled, 0u);
  ASSERT_TRUE(WaitUntil([] { return FindWindowA(nullptr, "velto77.exe") != nullptr; }));

  EXPECT_FALSE(host.TerminateProcessByName("notepad.exe"));
  EXPECT_FALSE(host.TerminateProcessByName("velto77.exe"));
  EXPECT_FALSE(host.TerminateProcessByName("probe_program.exe"));
  Sleep(300);
  EXPECT_TRUE(IsRunning(notepad));
  EXPECT_TRUE(IsRunning(titled));
}

// Ending a process does not free its executable at once; after the wait the
// file can be deleted.
TEST_F(HostTest, WaitAfterTerminateFreesTheExecutable) {
  const std::string program = Folder("ended") + "\\velto77.exe";
  ASSERT_TRUE(CopyFileA(BesideTests("probe_program.exe").c_str(), program.c_str(), FALSE));
  ASSERT_TRUE(host.RunProgram(program.c_str()));
  EXPECT_TRUE(host.WaitForTerminatedProcesses(1000)) << "nothing ended yet, nothing to wait for";
  ASSERT_TRUE(host.TerminateProcessByName("velto77.exe"));
  const DWORD start = GetTickCount();
  EXPECT_TRUE(host.WaitForTerminatedProcesses(1000));
  EXPECT_LE(GetTickCount() - start, 1500u);
  EXPECT_TRUE(DeleteFileA(program.c_str())) << GetLastError();
}

// --- ShellOpen and OpenUrl ------------------------------------------------------------

TEST_F(HostTest, ShellOpenPassesParametersUnchangedAndItsProcessCanBeEnded) {
  const std::string program = BesideTests("probe_program.exe");
  EXPECT_GT(host.ShellOpen(program.c_str(), "C:\\Program Files\\zorvalin\\tougao.txt"), 32);
  ASSERT_TRUE(WaitUntil([&] { return !Log().empty(); }));
  EXPECT_NE(Log().find(" C:\\Program Files\\zorvalin\\tougao.txt\n"), std::string::npos) << Log();
  EXPECT_TRUE(host.TerminateProcessByName("probe_program.exe")) << "started through the shell";
  EXPECT_LE(host.ShellOpen((kRoot + "\\missing.exe").c_str(), ""), 32) << "and shows no box";
}

// The run registers probe_program.exe --exit "%1" for the http scheme.
TEST_F(HostTest, OpenUrlHandsTheUrlToTheRegisteredProgram) {
  host.OpenUrl("http://127.0.0.1:9/default.html");
  ASSERT_TRUE(WaitUntil([&] { return !Log().empty(); }, 10000)) << "no handler ran";
  EXPECT_NE(Log().find("\"http://127.0.0.1:9/default.html\""), std::string::npos) << Log();
}

// --- ShowMessage ----------------------------------------------------------------------

TEST_F(HostTest, MessageBoxHasItsCaptionOneButtonNoIconAndDisablesTheThreadsWindows) {
  const HWND own = CreateWindowA("STATIC", "own window", WS_OVERLAPPED | WS_VISIBLE, 0, 0, 100, 100,
                                 nullptr, nullptr, nullptr, nullptr);
  struct Seen {
    bool found = false, own_disabled = false;
    int buttons = 0, icons = 0;
    std::string text;
  } seen;
  std::thread watcher([&] {
    HWND box = nullptr;
    WaitUntil([&] { return (box = FindWindowA("#32770", "信息：")) != nullptr; });
    if (!box) return;
    seen.found = true;
    seen.own_disabled = !IsWindowEnabled(own);
    for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
      char cls[64];
      GetClassNameA(c, cls, sizeof cls);
      const LONG style = GetWindowLongA(c, GWL_STYLE);
      if (lstrcmpiA(cls, "Button") == 0 && IsWindowVisible(c)) ++seen.buttons;
      if (lstrcmpiA(cls, "Static") == 0 && (style & SS_TYPEMASK) == SS_ICON &&
          SendMessageA(c, STM_GETICON, 0, 0))
        ++seen.icons;
      if (lstrcmpiA(cls, "Static") == 0 && (style & SS_TYPEMASK) != SS_ICON) {
        char text[256];
        GetWindowTextA(c, text, sizeof text);
        if (*text) seen.text = text;
      }
    }
    PostMessageA(box, WM_COMMAND, IDOK, 0);
  });
  const int result = host.ShowMessage("作者暂时没有主页");
  watcher.join();
  EXPECT_TRUE(seen.found);
  EXPECT_EQ(result, 0);
  EXPECT_EQ(seen.buttons, 1);
  EXPECT_EQ(seen.icons, 0);
  EXPECT_EQ(seen.text, "作者暂时没有主页");
  EXPECT_TRUE(seen.own_disabled) << "task modal: the thread's windows take no input";
  EXPECT_TRUE(IsWindowEnabled(own)) << "enabled again after OK";
  DestroyWindow(own);
}

// --- RemoveFolderTree -----------------------------------------------------------------

TEST_F(HostTest, RemoveDeletesNestedFoldersAndTheTop) {
  const std::string top = Folder("tree");
  Folder("tree\\a");
  Folder("tree\\a\\b");
  Write(top + "\\one.txt", "1");
  Write(top + "\\a\\two.txt", "2");
  Write(top + "\\a\\b\\three.txt", "3");
  EXPECT_TRUE(host.RemoveFolderTree(("  " + top).c_str())) << "leading spaces are skipped";
  EXPECT_FALSE(Exists(top));
}

TEST_F(HostTest, RemoveKeepsWhatItMayNotDelete) {
  const std::string top = Folder("kept");
  Write(top + "\\in-use.txt", "held");
  Write(top + "\\free.txt", "free");
  {
    const OwnedHandle held(NullIfInvalid(CreateFileA((top + "\\in-use.txt").c_str(), GENERIC_READ, 0,
                                                     nullptr, OPEN_EXISTING, 0, nullptr)));
    ASSERT_TRUE(held);
    EXPECT_FALSE(host.RemoveFolderTree(top.c_str()));
    EXPECT_TRUE(Exists(top + "\\in-use.txt"));
    EXPECT_FALSE(Exists(top + "\\free.txt")) << "one failure does not stop the rest";
  }
  const std::string dotted = Folder("dotted");
  Write(dotted + "\\.hidden", "dot");
  EXPECT_FALSE(host.RemoveFolderTree(dotted.c_str()));
  EXPECT_TRUE(Exists(dotted + "\\.hidden"));
}

TEST_F(HostTest, RemoveRefusesDrivesAndEmptyPaths) {
  Write("C:\\hosttest-root-marker.txt", "stays");
  for (const char* path : {"", "   ", "C:", "C:\\", "  c:\\", "Z:"})
    EXPECT_FALSE(host.RemoveFolderTree(path)) << "'" << path << "'";
  EXPECT_TRUE(Exists("C:\\hosttest-root-marker.txt"));
  EXPECT_TRUE(Exists("C:\\windows"));
}

// C:\hosttest\linked\outside is a directory link, made by the test run, to
// C:\hosttest\users-files, which holds keep.txt.
TEST_F(HostTest, RemoveNeverFollowsALink) {
  const std::string top = kRoot + "\\linked";
  ASSERT_TRUE(Exists(top + "\\outside\\keep.txt")) << "the run's link is missing";
  Write(top + "\\own.txt", "own");
  host.RemoveFolderTree(top.c_str());
  EXPECT_FALSE(Exists(top + "\\own.txt"));
  EXPECT_EQ(Read(kRoot + "\\users-files\\keep.txt"), "the user's");
  // A top folder that is itself a link is not emptied.
  host.RemoveFolderTree((top + "\\outside").c_str());
  EXPECT_EQ(Read(kRoot + "\\users-files\\keep.txt"), "the user's");
}

}  // namespace
