// A stand-in for the programs the launcher starts: it writes one line to the
// log named by PROBE_LOG (its own module path and command line), then shows a
// window titled by PROBE_TITLE until it is closed. With --exit it only logs.
#include <windows.h>

#include <cstdio>
#include <cstring>

LRESULT CALLBACK ProbeProcedure(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcA(w, m, wp, lp);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  char log[MAX_PATH] = "", module[MAX_PATH] = "", title[256] = "probe";
  GetEnvironmentVariableA("PROBE_TITLE", title, sizeof title);
  GetModuleFileNameA(nullptr, module, sizeof module);
  if (GetEnvironmentVariableA("PROBE_LOG", log, sizeof log)) {
    if (FILE* f = std::fopen(log, "ab")) {
      std::fprintf(f, "%s|%s\n", module, GetCommandLineA());
      std::fclose(f);
    }
  }
  if (std::strstr(GetCommandLineA(), "--exit")) return 0;

  WNDCLASSA wc{};
  wc.lpfnWndProc = ProbeProcedure;
  wc.hInstance = instance;
  wc.lpszClassName = "ProbeProgram";
  RegisterClassA(&wc);
  HWND window = CreateWindowA("ProbeProgram", title, WS_OVERLAPPEDWINDOW, 10, 10, 200, 100, nullptr,
                              nullptr, instance, nullptr);
  ShowWindow(window, show);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
  return 0;
}
