#include "ui/main_window.h"

#include "app/focus_order.h"
#include "ui/colour.h"
#include "ui/label.h"
#include "ui/placement.h"
#include "ui/window_class.h"

namespace {

constexpr char kWindowClass[] = "WTWindow";
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kButtonStyle = BS_CENTER | BS_VCENTER | BS_MULTILINE | WS_CHILD | WS_CLIPSIBLINGS;

HICON LoadProgramIcon(int size) {
  return static_cast<HICON>(
      LoadImageA(GetModuleHandleA(nullptr), "DEFAULT_ICON", IMAGE_ICON, size, size, 0));
}

HFONT CreateDescribedFont(const FontDescription& d) {
  LOGFONTA lf{};
  lf.lfHeight = d.height;
  lf.lfWidth = d.width;
  lf.lfEscapement = d.escapement;
  lf.lfOrientation = d.orientation;
  lf.lfWeight = d.weight;
  lf.lfItalic = d.italic;
  lf.lfUnderline = d.underline;
  lf.lfStrikeOut = d.strike_out;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
  lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  lf.lfQuality = PROOF_QUALITY;
  lf.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
  lstrcpynA(lf.lfFaceName, d.face, LF_FACESIZE);
  return CreateFontIndirectA(&lf);
}

}  // namespace

MainWindow::MainWindow(const WindowDefinition& definition, EventDispatch& events,
                       std::function<void()> on_gone)
    : definition_(definition),
      events_(events),
      on_gone_(std::move(on_gone)),
      controls_(definition.controls.size(), nullptr) {}

MainWindow::~MainWindow() { Destroy(); }

void MainWindow::Destroy() {
  if (hwnd_) DestroyWindow(hwnd_);
}

bool MainWindow::CreateFrame() {
  if (!RegisterClassOnce(kWindowClass, Procedure, NULL_BRUSH)) return false;
  Rect r = definition_.rect;
  if (definition_.centred)
    r = CentredOnScreen(r, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  if (!CreateWindowExA(0, kWindowClass, definition_.title, kWindowStyle, r.left, r.top, r.width,
                       r.height, nullptr, nullptr, GetModuleHandleA(nullptr), this))
    return false;
  events_.SetLoaded(true);
  RECT outer;
  GetWindowRect(hwnd_, &outer);
  if (outer.right - outer.left != r.width || outer.bottom - outer.top != r.height)
    MoveWindow(hwnd_, r.left, r.top, r.width, r.height, FALSE);
  large_icon_.reset(LoadProgramIcon(32));
  small_icon_.reset(LoadProgramIcon(16));
  SendMessageA(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(large_icon_.get()));
  SendMessageA(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small_icon_.get()));
  SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
  return true;
}

bool MainWindow::CreateControls() {
  for (std::size_t index = controls_.size(); index-- > 0;) {
    controls_[index] = CreateControl(index, ChildIdOf(definition_, index));
    if (!controls_[index]) return false;
  }
  return true;
}

HWND MainWindow::CreateControl(std::size_t index, int child_id) {
  const ControlRecord& c = definition_.controls[index];
  switch (c.kind) {
    case ControlKind::Label:
      return CreateLabel(hwnd_, c, child_id);
    case ControlKind::WebPanel: {
      auto fire = [this, index](std::int32_t event) { return FireControlEvent(index, event); };
      std::unique_ptr<WebPanel> panel = WebPanel::Create(hwnd_, c, child_id, std::move(fire));
      if (!panel) return nullptr;
      panels_.push_back(std::move(panel));
      return panels_.back()->hwnd();
    }
    case ControlKind::PushButton:
      break;
  }
  const DWORD style = kButtonStyle | (c.default_button ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) |
                      (c.tab_stop ? WS_TABSTOP : 0);
  const HWND button = CreateWindowExA(0, "BUTTON", c.caption, style, c.rect.left, c.rect.top,
                                      c.rect.width, c.rect.height, hwnd_, ChildId(child_id),
                                      GetModuleHandleA(nullptr), nullptr);
  if (!button) return nullptr;
  HGDIOBJ font = GetStockObject(DEFAULT_GUI_FONT);
  if (c.font) {
    fonts_.emplace_back(CreateDescribedFont(*c.font));
    font = fonts_.back().get();
  }
  SendMessageA(button, WM_SETFONT, reinterpret_cast<WPARAM>(font), 0);
  return button;
}

void MainWindow::StackControls() {
  constexpr UINT kFlags = SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE;
  HWND above = HWND_TOP;
  for (HWND control : controls_) {
    SetWindowPos(control, above, 0, 0, 0, 0, kFlags);
    above = control;
  }
}

void MainWindow::ShowControls() {
  for (std::size_t i = 0; i < controls_.size(); ++i)
    ShowWindow(controls_[i], definition_.controls[i].visible ? SW_SHOWNA : SW_HIDE);
}

void MainWindow::Show() { ShowWindow(hwnd_, SW_SHOW); }

std::optional<std::size_t> MainWindow::ControlAt(HWND window) const {
  if (!window) return std::nullopt;
  for (std::size_t i = 0; i < controls_.size(); ++i)
    if (controls_[i] == window) return i;
  return std::nullopt;
}

std::optional<std::size_t> MainWindow::ControlNear(HWND window) const {
  if (auto index = ControlAt(window)) return index;
  return window ? ControlAt(GetParent(window)) : std::nullopt;
}

std::optional<std::size_t> MainWindow::ControlContaining(HWND window) const {
  for (HWND w = window; w && w != hwnd_; w = GetParent(w))
    if (auto index = ControlAt(w)) return index;
  return std::nullopt;
}

std::vector<std::size_t> MainWindow::CurrentFocusOrder() const {
  return FocusOrder(definition_, [this](std::size_t i) {
    return IsWindowVisible(controls_[i]) && IsWindowEnabled(controls_[i]);
  });
}

EventOutcome MainWindow::FireWindowEvent(std::int32_t index) {
  return events_.FireEvent({definition_.id, definition_.self_id, index});
}

EventOutcome MainWindow::FireControlEvent(std::size_t control, std::int32_t index) {
  return events_.FireEvent({definition_.id, definition_.controls[control].id, index});
}

LRESULT CALLBACK MainWindow::Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTA*>(lparam)->lpCreateParams);
    self->hwnd_ = window;
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (!self) return DefWindowProcA(window, message, wparam, lparam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    const LRESULT result = DefWindowProcA(window, message, wparam, lparam);
    self->hwnd_ = nullptr;
    self->events_.SetLoaded(false);
    self->on_gone_();
    return result;
  }
  return self->Handle(message, wparam, lparam);
}

LRESULT MainWindow::Handle(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CLOSE: return OnClose();
    case WM_DESTROY: return OnDestroy();
    case WM_QUERYENDSESSION: return OnQueryEndSession(wparam, lparam);
    case WM_SETFOCUS: OnSetFocus(); return 0;
    case WM_COMMAND: OnCommand(wparam, lparam); return 0;
    case WM_PAINT: OnPaint(); return 0;
    // The default procedure keeps no font; the window remembers its own.
    case WM_SETFONT: font_ = reinterpret_cast<HFONT>(wparam); return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(font_);
    case WM_SETCURSOR:
      if (OnSetCursor(reinterpret_cast<HWND>(wparam))) return TRUE;
      break;
    case WM_ACTIVATE: OnActivate(wparam); break;
    case WM_MOVE: FireWindowEvent(window_event::kMoved); break;
    case WM_SIZE: FireWindowEvent(window_event::kResized); break;
    case WM_SHOWWINDOW:
      FireWindowEvent(wparam ? window_event::kShown : window_event::kHidden);
      break;
  }
  return DefWindowProcA(hwnd_, message, wparam, lparam);
}

LRESULT MainWindow::OnClose() {
  const EventOutcome outcome = FireWindowEvent(window_event::kMayClose);
  if (!hwnd_ || outcome.Refuses()) return 0;
  return DefWindowProcA(hwnd_, WM_CLOSE, 0, 0);
}

LRESULT MainWindow::OnDestroy() {
  const LRESULT result = DefWindowProcA(hwnd_, WM_DESTROY, 0, 0);
  // Gone from the screen by now, while every control still exists.
  FireWindowEvent(window_event::kWillBeDestroyed);
  return result;
}

LRESULT MainWindow::OnQueryEndSession(WPARAM wparam, LPARAM lparam) {
  DefWindowProcA(hwnd_, WM_QUERYENDSESSION, wparam, lparam);
  return FireWindowEvent(window_event::kMayClose).Refuses() ? FALSE : TRUE;
}

void MainWindow::OnActivate(WPARAM wparam) {
  if (LOWORD(wparam) == WA_INACTIVE) {
    if (auto focused = ControlContaining(GetFocus())) remembered_focus_ = focused;
    FireWindowEvent(window_event::kDeactivated);
  } else {
    FireWindowEvent(window_event::kActivated);
  }
}

void MainWindow::OnSetFocus() {
  FireWindowEvent(window_event::kGotFocus);
  if (!hwnd_) return;
  std::optional<std::size_t> target = remembered_focus_;
  if (!target) {
    const std::vector<std::size_t> order = CurrentFocusOrder();
    if (!order.empty()) target = order.front();
  }
  if (target) SetFocus(controls_[*target]);
}

void MainWindow::OnCommand(WPARAM wparam, LPARAM lparam) {
  if (HIWORD(wparam) != BN_CLICKED) return;
  if (auto control = ControlAt(reinterpret_cast<HWND>(lparam)))
    FireControlEvent(*control, button_event::kClick);
}

bool MainWindow::OnSetCursor(HWND under_pointer) {
  const std::optional<std::size_t> control = ControlNear(under_pointer);
  if (!control) return false;
  const Pointer pointer = definition_.controls[*control].pointer;
  if (pointer == Pointer::None) return false;
  SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(static_cast<int>(pointer))));
  return true;
}

void MainWindow::OnPaint() {
  PAINTSTRUCT ps;
  const HDC dc = BeginPaint(hwnd_, &ps);
  FillWithColour(dc, ps.rcPaint, definition_.background);
  EndPaint(hwnd_, &ps);
}
