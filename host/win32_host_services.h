#pragma once
// The host operations on the Windows API; the only place the handlers' work
// touches the system.

#include <windows.h>

#include <vector>

#include "host/host_services.h"

class Win32HostServices final : public HostServices {
public:
  bool CreateFolder(const char* path) override;
  bool WriteBlockToFile(const char* path, std::span<const std::uint8_t> block) override;
  bool RunProgram(const char* path) override;
  std::intptr_t ShellOpen(const char* file, const char* parameters) override;
  void OpenUrl(const char* url) override;
  int ShowMessage(const char* text) override;
  bool TerminateProcessByName(const char* executable_name) override;
  bool WaitForTerminatedProcesses(std::uint32_t timeout_ms) override;
  bool RemoveFolderTree(const char* path) override;

private:
  // A process this launcher started, known by id and creation time so that a
  // later process that reuses the id is never taken for it.
  struct StartedProcess {
    DWORD id;
    FILETIME created;
  };
  void Remember(HANDLE process);

  std::vector<StartedProcess> started_;  // in the order they were started
  std::vector<StartedProcess> ended_;    // told to terminate, maybe not gone yet
};
