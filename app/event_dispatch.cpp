#include "app/event_dispatch.h"

namespace {

std::span<const Binding> BindingsOf(const WindowDefinition& window, std::uint32_t control_id) {
  if (control_id == window.self_id) return window.bindings;
  for (const ControlRecord& control : window.controls)
    if (control.id == control_id) return control.bindings;
  return {};
}

}  // namespace

EventOutcome EventDispatch::FireEvent(const EventAddress& address) {
  if (hold_count_ > 0 || !loaded_ || address.window_id != window_.id) return {};
  const Binding* binding = FindBinding(BindingsOf(window_, address.control_id), address.index);
  if (!binding) return {};
  const std::optional<std::int32_t> result = binding->handler(host_);
  return {true, result.has_value(), result.value_or(0)};
}
