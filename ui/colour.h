#pragma once
#include <windows.h>

#include "ui/window_definition.h"

// Resolved at paint time, so a change of the system colours shows at the next paint.
inline COLORREF ColourRef(Colour c) {
  return c.button_face ? GetSysColor(COLOR_BTNFACE) : RGB(c.red, c.green, c.blue);
}

// Fills with a colour through the DC brush, so no brush needs an owner.
inline void FillWithColour(HDC dc, const RECT& area, Colour c) {
  SetDCBrushColor(dc, ColourRef(c));
  FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}
