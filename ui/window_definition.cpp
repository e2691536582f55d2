#include "ui/window_definition.h"

#include <set>

bool IsLoadable(const WindowDefinition& window) {
  std::set<std::uint32_t> ids{window.self_id};
  for (const ControlRecord& c : window.controls) {
    if (!ids.insert(c.id).second) return false;
    if (c.kind == ControlKind::WebPanel && !c.web) return false;
  }
  return !window.controls.empty();
}
