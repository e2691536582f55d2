#pragma once
// The running processes of an executable name, as the system lists them.
#include <windows.h>
#include <tlhelp32.h>

#include <string>
#include <vector>

#include "host/win32_owners.h"

// With a parent id, only that process's children.
inline std::vector<DWORD> ProcessesNamed(const char* name, DWORD parent = 0) {
  std::vector<DWORD> ids;
  const OwnedHandle snapshot(NullIfInvalid(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0)));
  PROCESSENTRY32 e{};
  e.dwSize = sizeof e;
  for (BOOL more = Process32First(snapshot.get(), &e); more; more = Process32Next(snapshot.get(), &e))
    if (lstrcmpiA(e.szExeFile, name) == 0 && (parent == 0 || e.th32ParentProcessID == parent))
      ids.push_back(e.th32ProcessID);
  return ids;
}

// A program started the way any other program on the machine starts one, not
// through the launcher, once it is ready for input. Empty on failure.
struct StartedProgram {
  OwnedHandle process;
  DWORD id = 0;
};

inline StartedProgram StartProgram(std::string command_line) {
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessA(nullptr, command_line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
    return {};
  CloseHandle(pi.hThread);
  WaitForInputIdle(pi.hProcess, 5000);
  return {OwnedHandle(pi.hProcess), pi.dwProcessId};
}
