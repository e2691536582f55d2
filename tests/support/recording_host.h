#pragma once
// A HostServices that records each call as one line and answers as told.

#include <string>
#include <vector>

#include "host/host_services.h"

class RecordingHost final : public HostServices {
public:
  std::vector<std::string> calls;
  bool answer = false;  // what every operation reports

  bool CreateFolder(const char* path) override { return Record("CreateFolder " + std::string(path)); }
  bool WriteBlockToFile(const char* path, std::span<const std::uint8_t> block) override {
    return Record("WriteBlockToFile " + std::string(path) + " " + std::to_string(block.size()));
  }
  bool RunProgram(const char* path) override { return Record("RunProgram " + std::string(path)); }
  std::intptr_t ShellOpen(const char* file, const char* parameters) override {
    return Record("ShellOpen " + std::string(file) + " " + parameters) ? 42 : 2;
  }
  void OpenUrl(const char* url) override { Record("OpenUrl " + std::string(url)); }
  int ShowMessage(const char* text) override { return Record("ShowMessage " + std::string(text)), 0; }
  bool TerminateProcessByName(const char* name) override {
    return Record("TerminateProcessByName " + std::string(name));
  }
  bool WaitForTerminatedProcesses(std::uint32_t timeout_ms) override {
    return Record("WaitForTerminatedProcesses " + std::to_string(timeout_ms));
  }
  bool RemoveFolderTree(const char* path) override { return Record("RemoveFolderTree " + std::string(path)); }

private:
  bool Record(std::string call) {
    calls.push_back(std::move(call));
    return answer;
  }
};
