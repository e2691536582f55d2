#pragma once
// Looking at another process's windows the way any program on the machine can.

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

HWND FindMainWindowOf(DWORD process_id);
// The first visible top-level window of a process, whatever its class.
HWND FindMainWindowOfAnyClass(DWORD process_id);
std::vector<HWND> ChildrenTopToBottom(HWND parent);
std::string ClassOf(HWND window);
std::string TextOf(HWND window);
struct Box {
  int left, top, width, height;
  bool operator==(const Box&) const = default;
};
// A child's rectangle relative to its parent's client area.
Box PlaceInParent(HWND child);
// A window's outer rectangle on the screen.
Box PlaceOnScreen(HWND window);
HWND FocusOfThread(DWORD thread_id);
HWND ActiveOfThread(DWORD thread_id);
// Polls until the condition holds or the time is up; true when it held.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeout_ms = 5000);
// Every top-level window of the process that is visible, other than `except`.
std::vector<HWND> OtherVisibleWindowsOf(DWORD process_id, HWND except);

// The middle of a captioned window's close box, on the screen.
POINT CloseBoxOf(HWND window);

// Makes another process's window the one that takes the keyboard, as a user
// clicking its caption would; true once it has.
bool BringToFront(HWND window);

// Keyboard and mouse input as the user gives it.
void PressKey(WORD virtual_key, bool with_shift = false, bool with_alt = false);
void ClickAt(POINT screen_point);

// A capture of part of the screen, as 24-bit pixels.
class ScreenCapture {
public:
  explicit ScreenCapture(RECT screen_area);
  COLORREF Pixel(int x, int y) const;  // relative to the captured area
  bool HasColourIn(RECT area, COLORREF colour) const;
  bool SaveBmp(const std::string& path) const;
  int width() const { return width_; }
  int height() const { return height_; }

private:
  int width_, height_;
  std::vector<BYTE> bgr_;  // bottom-up rows, 4-byte aligned
};
