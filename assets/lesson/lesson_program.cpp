// The sample lesson the launcher ships and starts: one plain window with a
// short painted note. The texts are UTF-8 here and reach Windows as GBK
// (-fexec-charset=GBK), so only the ANSI API is used.
#include <windows.h>

namespace {

constexpr char kClassName[] = "ZorvalinLessonWindow";
constexpr char kTitle[] = "zorvalin 示例教程";
constexpr char kNote[] =
    "欢迎观看 zorvalin 示例教程。\r\n"
    "这是一段演示内容，关闭窗口即可结束本教程。";

void PaintNote(HWND window) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  RECT area;
  GetClientRect(window, &area);
  InflateRect(&area, -16, -16);
  SetBkMode(dc, TRANSPARENT);
  // DEFAULT_GUI_FONT maps to a Chinese face on a code page 936 system.
  HGDIOBJ old_font = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  DrawTextA(dc, kNote, -1, &area, DT_LEFT | DT_TOP | DT_WORDBREAK | DT_NOPREFIX);
  SelectObject(dc, old_font);
  EndPaint(window, &paint);
}

// A named stdcall function: on i686 a lambda does not convert to WNDPROC.
LRESULT CALLBACK LessonWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_PAINT:
      PaintNote(window);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(window, message, wparam, lparam);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  WNDCLASSA window_class{};
  window_class.style = CS_HREDRAW | CS_VREDRAW;
  window_class.lpfnWndProc = LessonWindowProc;
  window_class.hInstance = instance;
  window_class.hIcon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
  window_class.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
  window_class.lpszClassName = kClassName;
  if (!RegisterClassA(&window_class)) return 1;

  HWND window = CreateWindowExA(0, kClassName, kTitle, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                CW_USEDEFAULT, 480, 200, nullptr, nullptr, instance, nullptr);
  if (!window) return 1;
  ShowWindow(window, show);
  UpdateWindow(window);

  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}
