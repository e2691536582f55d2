#include "ui/label.h"

#include "ui/colour.h"
#include "ui/window_class.h"

namespace {

constexpr char kLabelClass[] = "WTLabel";

const ControlRecord* RecordOf(HWND window) {
  return reinterpret_cast<const ControlRecord*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

void Paint(HWND window, const ControlRecord& record, HDC dc, const RECT& area) {
  FillWithColour(dc, area, record.background);
  if (record.caption[0] == '\0') return;
  const HGDIOBJ old_font = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ColourRef(record.text_colour));
  RECT client;
  GetClientRect(window, &client);
  DrawTextA(dc, record.caption, -1, &client, DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_NOCLIP);
  SelectObject(dc, old_font);
}

LRESULT CALLBACK LabelProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lparam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  } else if (const ControlRecord* record = RecordOf(window)) {
    if (message == WM_PAINT) {
      PAINTSTRUCT ps;
      const HDC dc = BeginPaint(window, &ps);
      Paint(window, *record, dc, ps.rcPaint);
      EndPaint(window, &ps);
      return 0;
    }
    if (message == WM_PRINTCLIENT) {  // PrintWindow and friends
      RECT client;
      GetClientRect(window, &client);
      Paint(window, *record, reinterpret_cast<HDC>(wparam), client);
      return 0;
    }
  }
  return DefWindowProcA(window, message, wparam, lparam);
}

}  // namespace

HWND CreateLabel(HWND parent, const ControlRecord& record, int child_id) {
  if (!RegisterClassOnce(kLabelClass, LabelProcedure, NULL_BRUSH)) return nullptr;
  const Rect& r = record.rect;
  return CreateWindowExA(0, kLabelClass, record.caption, WS_CHILD | WS_CLIPSIBLINGS, r.left, r.top,
                         r.width, r.height, parent, ChildId(child_id), GetModuleHandleA(nullptr),
                         const_cast<ControlRecord*>(&record));
}
