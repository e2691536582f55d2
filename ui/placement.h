#pragma once
#include "ui/window_definition.h"

// The outer rectangle of a centred window on a screen of the given size. The
// divisions truncate toward zero, so a screen narrower than the window puts
// the left edge at -33, not -34, for 301 pixels.
constexpr Rect CentredOnScreen(Rect window, int screen_width, int screen_height) {
  return {(screen_width - window.width) / 2, (screen_height - window.height) / 2, window.width,
          window.height};
}
