#include "ui/web_panel.h"

#include "ui/window_class.h"

namespace {

constexpr char kHostClass[] = "WTWebPanelHost";

}  // namespace

std::unique_ptr<WebPanel> WebPanel::Create(HWND parent, const ControlRecord& record, int child_id,
                                           Fire fire) {
  if (!RegisterClassOnce(kHostClass, DefWindowProcA, WHITE_BRUSH)) return nullptr;
  std::unique_ptr<WebPanel> panel(new WebPanel(std::move(fire)));
  const Rect& r = record.rect;
  panel->hwnd_ = CreateWindowExA(0, kHostClass, "", WS_CHILD | WS_CLIPSIBLINGS | WS_TABSTOP, r.left,
                                 r.top, r.width, r.height, parent, ChildId(child_id),
                                 GetModuleHandleA(nullptr), nullptr);
  if (!panel->hwnd_) return nullptr;
  return panel;
}

WebPanel::~WebPanel() = default;
