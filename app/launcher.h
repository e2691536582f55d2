#pragma once
// The life of the process on its one GUI thread: start-up, loading the window,
// the message loop with its keyboard rules, and the two ways out.

#include <windows.h>

#include "app/event_dispatch.h"
#include "ui/main_window.h"

class Launcher {
public:
  Launcher(const WindowDefinition& definition, HostServices& host);

  // The whole run; returns the exit code of a normal run.
  int Main();

private:
  bool LoadWindow(std::uint32_t window_id);
  int RunMessageLoop();
  bool PreTranslate(const MSG& message);
  void MoveFocus(HWND from, bool forward);
  [[noreturn]] void FatalError(const char* message);
  void OnWindowGone();

  const WindowDefinition& definition_;
  EventDispatch events_;
  MainWindow window_;
  bool loop_running_ = false;
};
