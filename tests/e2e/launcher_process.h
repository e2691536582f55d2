#pragma once
// The built launcher as a process the test owns: started from the driver's own
// folder, inside a job that ends it (and whatever it started) when the test
// is done, whatever the test's outcome.

#include <windows.h>

#include <string>

#include "host/win32_owners.h"

class LauncherProcess {
public:
  LauncherProcess();
  ~LauncherProcess();
  LauncherProcess(const LauncherProcess&) = delete;
  LauncherProcess& operator=(const LauncherProcess&) = delete;

  // `program` lives beside the driver: the launcher, or a build of it aimed elsewhere.
  bool Start(const char* program = "launcher.exe");
  // The main window once it is visible, or null after the timeout.
  HWND WaitForWindow(DWORD timeout_ms = 15000);
  // The exit code, or STILL_ACTIVE when it did not end in time.
  DWORD WaitForExit(DWORD timeout_ms = 10000);
  DWORD ThreadId() const { return thread_id_; }
  DWORD ProcessId() const { return process_id_; }
  HANDLE Handle() const { return process_.get(); }

private:
  OwnedHandle job_;
  OwnedHandle process_;
  DWORD process_id_ = 0, thread_id_ = 0;
};

// The folder the driver runs from, with a trailing backslash: the launcher and
// the artefacts live beside it.
std::string DriverFolder();
