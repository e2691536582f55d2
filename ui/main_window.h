#pragma once
// The main window on the platform: its frame, its controls and its window
// procedure, built from a window definition. Every event goes to the
// EventDispatch; the window itself decides nothing.

#include <windows.h>

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "app/event_dispatch.h"
#include "ui/web_panel.h"
#include "ui/win32_owners.h"

class MainWindow {
public:
  // `on_gone` runs once the window has handled its last message.
  MainWindow(const WindowDefinition& definition, EventDispatch& events,
             std::function<void()> on_gone);
  ~MainWindow();
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // The loading steps, in the order LoadWindow takes them. Nothing here is
  // made visible until ShowControls and Show.
  bool CreateFrame();
  bool CreateControls();  // last control of the definition first
  void StackControls();   // z-order from top to bottom = definition order
  void ShowControls();
  void Show();
  void Destroy();

  HWND hwnd() const { return hwnd_; }
  bool Exists() const { return hwnd_ != nullptr; }
  const WindowDefinition& definition() const { return definition_; }

  // The control whose own window this is.
  std::optional<std::size_t> ControlAt(HWND window) const;
  // The control whose own window this is, or whose window is this one's parent.
  std::optional<std::size_t> ControlNear(HWND window) const;
  // The control whose window this is, or holds it anywhere inside.
  std::optional<std::size_t> ControlContaining(HWND window) const;
  HWND ControlWindow(std::size_t index) const { return controls_[index]; }
  std::vector<std::size_t> CurrentFocusOrder() const;

  EventOutcome FireWindowEvent(std::int32_t index);
  EventOutcome FireControlEvent(std::size_t control, std::int32_t index);

private:
  static LRESULT CALLBACK Procedure(HWND, UINT, WPARAM, LPARAM);
  LRESULT Handle(UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT OnClose();
  LRESULT OnDestroy();
  LRESULT OnQueryEndSession(WPARAM wparam, LPARAM lparam);
  void OnActivate(WPARAM wparam);
  void OnSetFocus();
  void OnCommand(WPARAM wparam, LPARAM lparam);
  bool OnSetCursor(HWND under_pointer);
  void OnPaint();

  HWND CreateControl(std::size_t index, int child_id);

  const WindowDefinition& definition_;
  EventDispatch& events_;
  std::function<void()> on_gone_;
  // Destroyed after the window, which uses them to its end.
  OwnedIcon large_icon_, small_icon_;
  std::vector<OwnedFont> fonts_;
  std::vector<std::unique_ptr<WebPanel>> panels_;
  std::vector<HWND> controls_;  // by definition index; destroyed with the window
  std::optional<std::size_t> remembered_focus_;
  HFONT font_ = nullptr;  // a stock font: nobody's to delete
  HWND hwnd_ = nullptr;
};
