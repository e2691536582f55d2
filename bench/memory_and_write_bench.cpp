// Two figures of the packaged lesson, each against a floor measured in the
// same run, round by round:
//  - private memory of the launcher after start and after a click of its first
//    button, against a bare window program;
//  - the time WriteBlockToFile takes for the lesson straight from the mapped
//    executable, against one WriteFile of as many bytes from a page-aligned buffer.
#include <windows.h>
#include <psapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "content/embedded_blocks.h"
#include "host/win32_host_services.h"
#include "host/win32_owners.h"

namespace {

std::string Beside(const char* file) {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path);
  return folder.substr(0, folder.find_last_of('\\') + 1) + file;
}

double Now() {
  LARGE_INTEGER t, f;
  QueryPerformanceCounter(&t);
  QueryPerformanceFrequency(&f);
  return double(t.QuadPart) / double(f.QuadPart);
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}
double LowerQuartile(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 4];
}

double PrivateMiB(HANDLE process) {
  PROCESS_MEMORY_COUNTERS c{};
  c.cb = sizeof c;
  GetProcessMemoryInfo(process, &c, sizeof c);
  return double(c.PagefileUsage) / (1024.0 * 1024.0);
}

struct WindowSearch {
  DWORD pid;
  HWND found;
};

BOOL CALLBACK FindVisible(HWND w, LPARAM p) {
  auto* s = reinterpret_cast<WindowSearch*>(p);
  DWORD owner = 0;
  GetWindowThreadProcessId(w, &owner);
  if (owner != s->pid || !IsWindowVisible(w)) return TRUE;
  s->found = w;
  return FALSE;
}

HWND VisibleWindowOf(DWORD pid) {
  WindowSearch s{pid, nullptr};
  EnumWindows(FindVisible, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

struct Started {
  OwnedHandle process;
  DWORD pid = 0;
  HWND window = nullptr;
};

Started StartAndWait(const std::string& path) {
  std::string command = "\"" + path + "\"";
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  Started s;
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return s;
  CloseHandle(pi.hThread);
  s.process.reset(pi.hProcess);
  s.pid = pi.dwProcessId;
  for (int i = 0; i < 500 && !(s.window = VisibleWindowOf(s.pid)); ++i) Sleep(20);
  WaitForInputIdle(pi.hProcess, 10000);
  Sleep(300);  // let start-up work that follows showing settle
  return s;
}

void End(Started& s) {
  if (s.window) PostMessageA(s.window, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(s.process.get(), 10000) != WAIT_OBJECT_0) TerminateProcess(s.process.get(), 1);
}

void PressSpace() {
  INPUT in[2]{};
  in[0].type = in[1].type = INPUT_KEYBOARD;
  in[0].ki.wVk = in[1].ki.wVk = VK_SPACE;
  in[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, in, sizeof(INPUT));
}

bool LessonRuns() {
  const OwnedHandle snapshot(NullIfInvalid(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0)));
  PROCESSENTRY32 e{};
  e.dwSize = sizeof e;
  for (BOOL more = Process32First(snapshot.get(), &e); more; more = Process32Next(snapshot.get(), &e))
    if (lstrcmpiA(e.szExeFile, "velto77.exe") == 0) return true;
  return false;
}

void Row(const char* figure, const std::vector<double>& ours, const std::vector<double>& floor,
         const char* unit, bool ratio) {
  std::vector<double> per_round;
  for (size_t i = 0; i < ours.size(); ++i) per_round.push_back(ratio ? ours[i] / floor[i] : ours[i] - floor[i]);
  std::printf("%-34s %10.2f %10.2f %s   %s median %.3f, lower quartile %.3f, min %.3f, max %.3f\n", figure,
              Median(ours), Median(floor), unit, ratio ? "ratio" : "difference", Median(per_round),
              LowerQuartile(per_round), *std::min_element(per_round.begin(), per_round.end()),
              *std::max_element(per_round.begin(), per_round.end()));
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(4, std::atoi(argv[1])) : 8;
  std::printf("%d rounds, interleaved\n%-34s %10s %10s\n", rounds, "figure", "launcher", "floor");

  std::vector<double> start_mem, start_floor, click_mem, click_floor;
  for (int r = 0; r < rounds; ++r) {
    // Alternate which goes first, so drift hits both alike.
    Started bare, launcher;
    if (r % 2) bare = StartAndWait(Beside("bare_window.exe"));
    launcher = StartAndWait(Beside("launcher.exe"));
    if (!(r % 2)) bare = StartAndWait(Beside("bare_window.exe"));
    start_mem.push_back(PrivateMiB(launcher.process.get()));
    start_floor.push_back(PrivateMiB(bare.process.get()));
    SetForegroundWindow(launcher.window);
    SetWindowPos(launcher.window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    Sleep(200);
    PressSpace();  // the focus is on the first button after start
    for (int i = 0; i < 500 && !LessonRuns(); ++i) Sleep(20);
    WaitForInputIdle(launcher.process.get(), 10000);
    Sleep(300);
    click_mem.push_back(PrivateMiB(launcher.process.get()));
    click_floor.push_back(PrivateMiB(bare.process.get()));
    End(launcher);
    End(bare);
  }
  Row("private memory after start", start_mem, start_floor, "MiB", false);
  Row("private memory after the write", click_mem, click_floor, "MiB", false);

  Win32HostServices host;
  const std::string ours = "C:\\bench-lesson.bin", floor_path = "C:\\bench-floor.bin";
  const std::span<const std::uint8_t> lesson = TutorialImage();
  void* buffer = VirtualAlloc(nullptr, lesson.size(), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  std::fill_n(static_cast<std::uint8_t*>(buffer), lesson.size(), 0x5a);
  DWORD old;
  VirtualProtect(buffer, lesson.size(), PAGE_READONLY, &old);
  std::vector<double> write_ours, write_floor;
  for (int r = 0; r < rounds * 3; ++r) {
    auto floor_write = [&] {
      const double t = Now();
      OwnedHandle f(NullIfInvalid(CreateFileA(floor_path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                              FILE_ATTRIBUTE_NORMAL, nullptr)));
      DWORD written;
      WriteFile(f.get(), buffer, static_cast<DWORD>(lesson.size()), &written, nullptr);
      f.reset();
      write_floor.push_back((Now() - t) * 1000);
    };
    auto our_write = [&] {
      const double t = Now();
      host.WriteBlockToFile(ours.c_str(), lesson);
      write_ours.push_back((Now() - t) * 1000);
    };
    if (r % 2) { floor_write(); our_write(); } else { our_write(); floor_write(); }
  }
  Row("lesson write (create, write, close)", write_ours, write_floor, "ms ", true);
  VirtualFree(buffer, 0, MEM_RELEASE);
  DeleteFileA(ours.c_str());
  DeleteFileA(floor_path.c_str());
  return 0;
}
