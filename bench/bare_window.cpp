// The floor for the launcher's memory: one class, one captioned 368 x 361
// window, a message loop, and nothing else.
#include <windows.h>

LRESULT CALLBACK BareProcedure(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcA(w, m, wp, lp);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = BareProcedure;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.lpszClassName = "BareWindow";
  RegisterClassA(&wc);
  HWND w = CreateWindowA("BareWindow", "bare", WS_CAPTION | WS_SYSMENU, 328, 203, 368, 361, nullptr,
                         nullptr, instance, nullptr);
  ShowWindow(w, SW_SHOW);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
  return 0;
}
