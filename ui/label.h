#pragma once
// A label: a window of a private class that paints its caption itself.

#include <windows.h>

#include "ui/window_definition.h"

// Created hidden; the record must outlive the window.
HWND CreateLabel(HWND parent, const ControlRecord& record, int child_id);
