#include "app/launcher.h"

#include <ole2.h>

#include <cstring>
#include <string>

#include "app/focus_order.h"
#include "app/key_rules.h"

namespace {

// Dispatches what is already queued, stopping short of a WM_QUIT.
void PumpPending() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE) && msg.message != WM_QUIT) {
    if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) break;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

void EnterOwnFolder() {
  char path[260];
  const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  if (length == 0 || length >= sizeof path) return;
  if (char* slash = std::strrchr(path, '\\')) {
    *slash = '\0';
    SetCurrentDirectoryA(path);
  }
}

Key KeyOf(WPARAM virtual_key) {
  switch (virtual_key) {
    case VK_TAB: return Key::Tab;
    case VK_RETURN: return Key::Enter;
    case VK_ESCAPE: return Key::Escape;
    case VK_F1: return Key::F1;
    default: return Key::Other;
  }
}

bool Pressed(int virtual_key) { return GetKeyState(virtual_key) < 0; }

}  // namespace

Launcher::Launcher(const WindowDefinition& definition, HostServices& host)
    : definition_(definition),
      events_(definition, host),
      window_(definition, events_, [this] { OnWindowGone(); }) {}

int Launcher::Main() {
  SetErrorMode(SetErrorMode(0) | SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  OleInitialize(nullptr);
  EnterOwnFolder();
  if (!IsLoadable(definition_)) FatalError("载入窗口模板数据段出错!");
  if (!LoadWindow(definition_.id)) FatalError("载入启动窗口失败");
  loop_running_ = true;
  const int exit_code = window_.Exists() ? RunMessageLoop() : 0;
  events_.Hold();
  OleUninitialize();
  return exit_code;
}

bool Launcher::LoadWindow(std::uint32_t window_id) {
  if (window_id != definition_.id) return false;
  PumpPending();
  events_.Hold();
  if (!window_.CreateFrame() || !window_.CreateControls()) {
    window_.Destroy();  // hidden all along; the hold keeps every handler out
    return false;
  }
  window_.StackControls();
  window_.ShowControls();
  PumpPending();
  events_.Release();

  window_.FireWindowEvent(window_event::kCreationComplete);
  if (window_.Exists()) window_.FireWindowEvent(window_event::kMoved);
  if (window_.Exists()) window_.FireWindowEvent(window_event::kResized);
  if (window_.Exists() && definition_.visible) {
    window_.Show();
    const HWND focus = GetFocus();
    if (focus && focus == window_.hwnd())
      window_.FireWindowEvent(window_event::kGotFocus);
    else if (auto control = window_.ControlAt(focus))
      window_.FireControlEvent(*control, window_event::kGotFocus);
  }
  return true;
}

int Launcher::RunMessageLoop() {
  MSG msg;
  // GetMessage returns 0 for WM_QUIT and -1 when it fails; both end the loop.
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (PreTranslate(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return msg.message == WM_QUIT ? static_cast<int>(msg.wParam) : 0;
}

bool Launcher::PreTranslate(const MSG& msg) {
  // Keyboard messages only, aimed at the window or anything inside it.
  if (msg.message < 0x100 || msg.message > 0x108) return false;
  const HWND main = window_.hwnd();
  if (!main || (msg.hwnd != main && !IsChild(main, msg.hwnd))) return false;
  if (!IsWindowEnabled(msg.hwnd)) return false;
  // The window has no menu, so no accelerator table takes part.
  if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return false;

  const Modifiers mods{Pressed(VK_CONTROL), Pressed(VK_SHIFT), Pressed(VK_MENU)};
  const KeyDecision decision =
      DecideKey(definition_, KeyOf(msg.wParam), mods, window_.ControlAt(GetFocus()));
  switch (decision.action) {
    case KeyDecision::Action::MoveFocusForward: MoveFocus(msg.hwnd, true); break;
    case KeyDecision::Action::MoveFocusBackward: MoveFocus(msg.hwnd, false); break;
    case KeyDecision::Action::Click:
      window_.FireControlEvent(decision.control, button_event::kClick);
      break;
    case KeyDecision::Action::Close: SendMessageA(main, WM_CLOSE, 0, 0); break;
    case KeyDecision::Action::OpenHelp:  // the definition names no help file to open
    case KeyDecision::Action::PassOn: break;
  }
  return decision.Consumes();
}

void Launcher::MoveFocus(HWND from, bool forward) {
  // Only a control's own window or its direct child counts; from deeper inside
  // a control (a page in the web panel) the key is taken and the focus stays.
  const std::optional<std::size_t> control = window_.ControlNear(from);
  if (!control) return;
  if (auto next = NextInFocusOrder(window_.CurrentFocusOrder(), *control, forward))
    SetFocus(window_.ControlWindow(*next));
}

void Launcher::FatalError(const char* message) {
  events_.Hold();
  const std::string text = std::string("运行时出错!\r\n\r\n错误信息：") + message + "\r\n";
  MessageBoxA(nullptr, text.c_str(), "错误", MB_OK | MB_ICONERROR);
  OleUninitialize();
  ExitProcess(static_cast<UINT>(-1));
}

void Launcher::OnWindowGone() {
  if (loop_running_ && !events_.AnyWindowLoaded()) PostQuitMessage(0);
}
