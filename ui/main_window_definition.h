#pragma once
#include "ui/window_definition.h"

// The launcher's one window, complete: every setting, order and binding.
extern const WindowDefinition kMainWindow;
