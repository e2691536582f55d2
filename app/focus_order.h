#pragma once
// The order in which Tab walks the window's controls.

#include <cstddef>
#include <functional>
#include <optional>
#include <vector>

#include "ui/window_definition.h"

// Whether a control's window is visible and enabled right now, by its place in
// the definition's list.
using IsLive = std::function<bool(std::size_t)>;

// Indices into window.controls: focusable, tab-stop, live controls by ascending
// tab order; among equal numbers the later one in the list (created earlier)
// comes first.
std::vector<std::size_t> FocusOrder(const WindowDefinition& window, const IsLive& is_live);

// The control after (or before) `from` in the ring; none when the ring is
// empty. A control outside the ring starts it from its first (or last) place.
std::optional<std::size_t> NextInFocusOrder(const std::vector<std::size_t>& order, std::size_t from,
                                            bool forward);
