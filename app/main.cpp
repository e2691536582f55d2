#include <windows.h>

#include "app/launcher.h"
#include "host/win32_host_services.h"
#include "ui/main_window_definition.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  Win32HostServices host;
  Launcher launcher(kMainWindow, host);
  return launcher.Main();
}
