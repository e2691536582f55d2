#include "app/focus_order.h"

#include <algorithm>

std::vector<std::size_t> FocusOrder(const WindowDefinition& window, const IsLive& is_live) {
  std::vector<std::size_t> order;
  for (std::size_t i = window.controls.size(); i-- > 0;) {
    const ControlRecord& c = window.controls[i];
    if (CanTakeFocus(c.kind) && c.tab_stop && is_live(i)) order.push_back(i);
  }
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    return window.controls[a].tab_order < window.controls[b].tab_order;
  });
  return order;
}

std::optional<std::size_t> NextInFocusOrder(const std::vector<std::size_t>& order, std::size_t from,
                                            bool forward) {
  if (order.empty()) return std::nullopt;
  const auto at = std::find(order.begin(), order.end(), from);
  if (at == order.end()) return forward ? order.front() : order.back();
  const std::size_t place = static_cast<std::size_t>(at - order.begin());
  const std::size_t n = order.size();
  return order[forward ? (place + 1) % n : (place + n - 1) % n];
}
