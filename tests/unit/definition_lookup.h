#pragma once
#include <cstddef>
#include <string_view>

#include "ui/window_definition.h"

// The place of a named control in the definition's list; fails the test when absent.
inline std::size_t IndexOf(const WindowDefinition& window, std::string_view name) {
  for (std::size_t i = 0; i < window.controls.size(); ++i)
    if (window.controls[i].name == name) return i;
  ADD_FAILURE() << "no control named " << name;
  return 0;
}
