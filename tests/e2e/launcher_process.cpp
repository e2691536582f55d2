#include "launcher_process.h"

#include "window_probe.h"

std::string DriverFolder() {
  char path[MAX_PATH];
  const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path, n);
  return folder.substr(0, folder.find_last_of('\\') + 1);
}

LauncherProcess::LauncherProcess() : job_(CreateJobObjectA(nullptr, nullptr)) {
  JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
  limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
  SetInformationJobObject(job_.get(), JobObjectExtendedLimitInformation, &limits, sizeof limits);
}

LauncherProcess::~LauncherProcess() {
  if (process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) {
    TerminateProcess(process_.get(), 1);
    WaitForSingleObject(process_.get(), 5000);
  }
  if (job_) TerminateJobObject(job_.get(), 1);
}

bool LauncherProcess::Start(const char* program) {
  std::string command = "\"" + DriverFolder() + program + "\"";
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                      nullptr, &si, &pi))
    return false;
  AssignProcessToJobObject(job_.get(), pi.hProcess);
  process_.reset(pi.hProcess);
  process_id_ = pi.dwProcessId;
  thread_id_ = pi.dwThreadId;
  ResumeThread(pi.hThread);
  CloseHandle(pi.hThread);
  return true;
}

HWND LauncherProcess::WaitForWindow(DWORD timeout_ms) {
  const DWORD start = GetTickCount();
  do {
    if (HWND w = FindMainWindowOf(process_id_); w && IsWindowVisible(w)) {
      WaitForInputIdle(process_.get(), timeout_ms);  // done loading, waiting in its loop
      return w;
    }
    if (WaitForSingleObject(process_.get(), 50) != WAIT_TIMEOUT) return nullptr;
  } while (GetTickCount() - start < timeout_ms);
  return nullptr;
}

DWORD LauncherProcess::WaitForExit(DWORD timeout_ms) {
  if (WaitForSingleObject(process_.get(), timeout_ms) != WAIT_OBJECT_0) return STILL_ACTIVE;
  DWORD code = STILL_ACTIVE;
  GetExitCodeProcess(process_.get(), &code);
  return code;
}
