#include "window_probe.h"

#include <algorithm>
#include <cstdio>

HWND FindMainWindowOf(DWORD process_id) {
  for (HWND w = FindWindowExA(nullptr, nullptr, "WTWindow", nullptr); w;
       w = FindWindowExA(nullptr, w, "WTWindow", nullptr)) {
    DWORD owner = 0;
    GetWindowThreadProcessId(w, &owner);
    if (owner == process_id) return w;
  }
  return nullptr;
}

std::vector<HWND> ChildrenTopToBottom(HWND parent) {
  std::vector<HWND> children;
  for (HWND w = GetWindow(parent, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) children.push_back(w);
  return children;
}

std::string ClassOf(HWND window) {
  char name[256] = "";
  GetClassNameA(window, name, sizeof name);
  return name;
}

std::string TextOf(HWND window) {
  char text[512] = "";
  GetWindowTextA(window, text, sizeof text);
  return text;
}

Box PlaceInParent(HWND child) {
  RECT r;
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

Box PlaceOnScreen(HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

HWND FocusOfThread(DWORD thread_id) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  return GetGUIThreadInfo(thread_id, &info) ? info.hwndFocus : nullptr;
}

HWND ActiveOfThread(DWORD thread_id) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  return GetGUIThreadInfo(thread_id, &info) ? info.hwndActive : nullptr;
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeout_ms) {
  const DWORD start = GetTickCount();
  while (!condition()) {
    if (GetTickCount() - start >= timeout_ms) return false;
    Sleep(20);
  }
  return true;
}

namespace {

struct WindowSearch {
  DWORD pid;
  HWND except;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectVisible(HWND w, LPARAM p) {
  auto* s = reinterpret_cast<WindowSearch*>(p);
  DWORD owner = 0;
  GetWindowThreadProcessId(w, &owner);
  if (owner == s->pid && w != s->except && IsWindowVisible(w)) s->found.push_back(w);
  return TRUE;
}

}  // namespace

HWND FindMainWindowOfAnyClass(DWORD process_id) {
  const std::vector<HWND> windows = OtherVisibleWindowsOf(process_id, nullptr);
  return windows.empty() ? nullptr : windows.front();
}

std::vector<HWND> OtherVisibleWindowsOf(DWORD process_id, HWND except) {
  WindowSearch search{process_id, except, {}};
  EnumWindows(CollectVisible, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

namespace {

INPUT KeyInput(WORD vk, bool up) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  return in;
}

}  // namespace

void PressKey(WORD virtual_key, bool with_shift, bool with_alt) {
  std::vector<INPUT> inputs;
  if (with_shift) inputs.push_back(KeyInput(VK_SHIFT, false));
  if (with_alt) inputs.push_back(KeyInput(VK_MENU, false));
  inputs.push_back(KeyInput(virtual_key, false));
  inputs.push_back(KeyInput(virtual_key, true));
  if (with_alt) inputs.push_back(KeyInput(VK_MENU, true));
  if (with_shift) inputs.push_back(KeyInput(VK_SHIFT, true));
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void ClickAt(POINT p) {
  // An absolute move: in a Wine desktop SetCursorPos does not move the pointer.
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dx = (p.x * 65536 + 32768) / GetSystemMetrics(SM_CXSCREEN);
  in.mi.dy = (p.y * 65536 + 32768) / GetSystemMetrics(SM_CYSCREEN);
  in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  // Wine drops the first move a process sends into a new desktop now and then:
  // move until the pointer is there.
  for (int attempt = 0; attempt < 20; ++attempt) {
    INPUT nudge{};
    nudge.type = INPUT_MOUSE;
    nudge.mi.dx = attempt % 2 ? 1 : -1;
    nudge.mi.dwFlags = MOUSEEVENTF_MOVE;
    SendInput(1, &nudge, sizeof nudge);
    SendInput(1, &in, sizeof in);
    if (WaitUntil([&] {
          POINT at;
          return GetCursorPos(&at) && at.x == p.x && at.y == p.y;
        }, 300))
      break;
  }
  Sleep(100);  // let the target see the pointer arrive before the button goes down
  for (DWORD button : {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP}) {
    in = {};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = button;
    SendInput(1, &in, sizeof in);
    Sleep(50);
  }
}

ScreenCapture::ScreenCapture(RECT area)
    : width_(area.right - area.left), height_(area.bottom - area.top) {
  const int stride = (width_ * 3 + 3) & ~3;
  bgr_.resize(static_cast<size_t>(stride) * height_);
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = width_;
  bi.bmiHeader.biHeight = height_;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 24;
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, dib);
  BitBlt(memory, 0, 0, width_, height_, screen, area.left, area.top, SRCCOPY);
  GdiFlush();
  std::copy_n(static_cast<BYTE*>(bits), bgr_.size(), bgr_.begin());
  SelectObject(memory, old);
  DeleteObject(dib);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
}

COLORREF ScreenCapture::Pixel(int x, int y) const {
  const int stride = (width_ * 3 + 3) & ~3;
  const BYTE* p = &bgr_[static_cast<size_t>(height_ - 1 - y) * stride + x * 3];
  return RGB(p[2], p[1], p[0]);
}

bool ScreenCapture::HasColourIn(RECT area, COLORREF colour) const {
  for (int y = area.top; y < area.bottom; ++y)
    for (int x = area.left; x < area.right; ++x)
      if (x >= 0 && y >= 0 && x < width_ && y < height_ && Pixel(x, y) == colour) return true;
  return false;
}

bool ScreenCapture::SaveBmp(const std::string& path) const {
  BITMAPFILEHEADER fh{};
  BITMAPINFOHEADER ih{};
  ih.biSize = sizeof ih;
  ih.biWidth = width_;
  ih.biHeight = height_;
  ih.biPlanes = 1;
  ih.biBitCount = 24;
  ih.biSizeImage = static_cast<DWORD>(bgr_.size());
  fh.bfType = 0x4D42;
  fh.bfOffBits = sizeof fh + sizeof ih;
  fh.bfSize = fh.bfOffBits + ih.biSizeImage;
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool ok = std::fwrite(&fh, sizeof fh, 1, f) == 1 && std::fwrite(&ih, sizeof ih, 1, f) == 1 &&
                  std::fwrite(bgr_.data(), 1, bgr_.size(), f) == bgr_.size();
  return std::fclose(f) == 0 && ok;
}

POINT CloseBoxOf(HWND window) {
  const Box place = PlaceOnScreen(window);
  return {place.left + place.width - GetSystemMetrics(SM_CXFIXEDFRAME) - GetSystemMetrics(SM_CXSIZE) / 2,
          place.top + GetSystemMetrics(SM_CYFIXEDFRAME) + GetSystemMetrics(SM_CYSIZE) / 2};
}

bool BringToFront(HWND window) {
  const DWORD thread = GetWindowThreadProcessId(window, nullptr);
  auto in_front = [&] { return ActiveOfThread(thread) == window && GetForegroundWindow() == window; };
  for (int attempt = 0; attempt < 3 && !in_front(); ++attempt) {
    // SetForegroundWindow alone does not always raise another process's window
    // in Wine; a raise with SetWindowPos does, and a click on the caption makes sure.
    SetForegroundWindow(window);
    SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    if (WaitUntil(in_front, 1000)) break;
    const Box place = PlaceOnScreen(window);
    ClickAt({place.left + place.width / 2, place.top + GetSystemMetrics(SM_CYCAPTION) / 2 + 2});
    WaitUntil(in_front, 1000);
  }
  return in_front();
}
