#pragma once
// The operations the launcher's handlers need from the operating system. Every
// text is a NUL-terminated GBK string; no caller looks at a result, so every
// failure is silent.

#include <cstdint>
#include <span>

class HostServices {
public:
  virtual bool CreateFolder(const char* path) = 0;
  virtual bool WriteBlockToFile(const char* path, std::span<const std::uint8_t> block) = 0;
  virtual bool RunProgram(const char* path) = 0;
  virtual std::intptr_t ShellOpen(const char* file, const char* parameters) = 0;
  virtual void OpenUrl(const char* url) = 0;
  virtual int ShowMessage(const char* text) = 0;
  virtual bool TerminateProcessByName(const char* executable_name) = 0;
  // Waits, at most this long in all, for the processes ended so far to exit;
  // true when none is left.
  virtual bool WaitForTerminatedProcesses(std::uint32_t timeout_ms) = 0;
  virtual bool RemoveFolderTree(const char* path) = 0;

protected:
  ~HostServices() = default;
};
