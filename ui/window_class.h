#pragma once
#include <windows.h>

// Registers a class of the program's module unless one of that name exists
// there. Every class of the launcher double-clicks, redraws on resize and shows
// the arrow; they differ in procedure and background brush.
inline bool RegisterClassOnce(const char* name, WNDPROC procedure, int stock_brush) {
  const HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  if (GetClassInfoExA(instance, name, &wc)) return true;
  wc = WNDCLASSEXA{};
  wc.cbSize = sizeof wc;
  wc.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = procedure;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(stock_brush));
  wc.lpszClassName = name;
  return RegisterClassExA(&wc) != 0;
}

inline HMENU ChildId(int id) { return reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)); }
