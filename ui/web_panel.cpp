#include "ui/web_panel.h"

#include <docobj.h>

#include <algorithm>
#include <utility>

#include "ui/window_class.h"

namespace {

constexpr char kHostClass[] = "WTWebPanelHost";
constexpr std::int32_t kSmallestTextSize = 0, kLargestTextSize = 4;

// The program's texts are in the ANSI code page (GBK); the control's in UTF-16.
std::wstring Wide(const std::string& text) {
  const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(std::max(length, 0)), L'\0');
  if (length > 0)
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
  return wide;
}

std::string Narrow(const wchar_t* text) {
  const int length = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (length <= 1) return {};
  std::string narrow(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_ACP, 0, text, -1, narrow.data(), length, nullptr, nullptr);
  narrow.pop_back();  // the terminator
  return narrow;
}

VARIANT Int32(LONG value) {
  VARIANT v;
  VariantInit(&v);
  V_VT(&v) = VT_I4;
  V_I4(&v) = value;
  return v;
}

// Borrows the string: the caller keeps owning it.
VARIANT Text(BSTR text) {
  VARIANT v;
  VariantInit(&v);
  V_VT(&v) = VT_BSTR;
  V_BSTR(&v) = text;
  return v;
}

VARIANT_BOOL Bool(bool value) { return value ? VARIANT_TRUE : VARIANT_FALSE; }

}  // namespace

std::unique_ptr<WebPanel> WebPanel::Create(HWND parent, const ControlRecord& record, int child_id,
                                           Fire fire) {
  if (!record.web) return nullptr;
  std::unique_ptr<WebPanel> panel(new WebPanel(*record.web, std::move(fire)));
  // On failure the destructor undoes whatever the steps made.
  if (!panel->CreateHost(parent, record, child_id) || !panel->EmbedBrowser()) return nullptr;
  panel->StartBrowsing();
  return panel;
}

WebPanel::~WebPanel() {
  if (hwnd_) DestroyWindow(hwnd_);  // its WM_DESTROY tears the control down
  TearDownBrowser();                // for a panel whose host was never made
}

std::string WebPanel::CurrentAddress() const {
  return navigation_target_ ? *navigation_target_ : address_;
}

bool WebPanel::CreateHost(HWND parent, const ControlRecord& record, int child_id) {
  if (!RegisterClassOnce(kHostClass, HostProcedure, WHITE_BRUSH)) return false;
  const Rect& r = record.rect;
  return CreateWindowExA(0, kHostClass, "", WS_CHILD | WS_CLIPSIBLINGS | WS_TABSTOP, r.left, r.top,
                         r.width, r.height, parent, ChildId(child_id), GetModuleHandleA(nullptr),
                         this) != nullptr;
}

bool WebPanel::EmbedBrowser() {
  site_.reset(new BrowserSite(hwnd_, {settings_.silent, settings_.offline}));
  sink_.reset(new BrowserEvents(*this));
  if (FAILED(CoCreateInstance(CLSID_WebBrowser, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                              control_.put_void())) ||
      FAILED(control_->SetClientSite(site_.get())))
    return false;
  RECT area;
  GetClientRect(hwnd_, &area);
  if (FAILED(control_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, site_.get(), 0, hwnd_, &area)))
    return false;
  browser_ = control_.Query<IWebBrowser2>(IID_IWebBrowser2);
  if (!browser_) return false;
  const auto sources = browser_.Query<IConnectionPointContainer>(IID_IConnectionPointContainer);
  return sources &&
         SUCCEEDED(sources->FindConnectionPoint(DIID_DWebBrowserEvents2, event_source_.put())) &&
         SUCCEEDED(event_source_->Advise(sink_.get(), &sink_cookie_));
}

void WebPanel::StartBrowsing() {
  // Our own reference for the calls: a handler of the navigation's events may
  // close the window, and the panel let go of the control, before they return.
  const auto browser = browser_.Query<IWebBrowser2>(IID_IWebBrowser2);
  if (!browser) return;
  // Results go unread: Wine, for one, fails the zoom until a document is loaded.
  browser->put_Offline(Bool(settings_.offline));
  browser->put_Silent(Bool(settings_.silent));
  VARIANT zoom = Int32(std::clamp(settings_.text_size_step, kSmallestTextSize, kLargestTextSize));
  browser->ExecWB(OLECMDID_ZOOM, OLECMDEXECOPT_DONTPROMPTUSER, &zoom, nullptr);
  if (address_.empty()) return;

  const OwnedBstr url(SysAllocString(Wide(address_).c_str()));
  const OwnedBstr empty(SysAllocString(L""));
  if (!url || !empty) return;
  VARIANT flags = Int32(0), target_frame = Text(empty.get()), headers = Text(empty.get());
  VARIANT post_data;
  VariantInit(&post_data);
  browser->Navigate(url.get(), &flags, &target_frame, &post_data, &headers);
}

// In the order the control expects to be let go of. Each pointer is taken out
// of its member first, so a call back into the panel meanwhile finds nothing.
void WebPanel::TearDownBrowser() {
  if (const ComPtr<IConnectionPoint> source = std::move(event_source_))
    source->Unadvise(std::exchange(sink_cookie_, 0));
  if (const ComPtr<BrowserEvents> sink = std::move(sink_)) sink->Detach();
  const ComPtr<IWebBrowser2> browser = std::move(browser_);
  if (const ComPtr<IOleObject> control = std::move(control_)) {
    if (const auto in_place = control.Query<IOleInPlaceObject>(IID_IOleInPlaceObject))
      in_place->InPlaceDeactivate();
    control->Close(OLECLOSE_NOSAVE);
    control->SetClientSite(nullptr);
  }
  if (const ComPtr<BrowserSite> site = std::move(site_)) site->Detach();
}

EventOutcome WebPanel::OnBrowserEvent(std::int32_t index, const wchar_t* target) {
  if (!fire_) return {};
  if (!target) return fire_(index);
  // Kept for the event only; a handler that navigates again nests another.
  std::optional<std::string> outer = std::exchange(navigation_target_, Narrow(target));
  EventOutcome outcome;
  try {
    outcome = fire_(index);
  } catch (...) {
    navigation_target_ = std::move(outer);
    throw;
  }
  navigation_target_ = std::move(outer);
  return outcome;
}

LRESULT CALLBACK WebPanel::HostProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<WebPanel*>(reinterpret_cast<CREATESTRUCTA*>(lparam)->lpCreateParams);
    self->hwnd_ = window;
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<WebPanel*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (!self) return DefWindowProcA(window, message, wparam, lparam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
    return DefWindowProcA(window, message, wparam, lparam);
  }
  return self->Handle(message, wparam, lparam);
}

LRESULT WebPanel::Handle(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_SIZE: OnSize(); return 0;
    case WM_SETFOCUS: OnSetFocus(); return 0;
    case WM_DESTROY: TearDownBrowser(); return 0;
  }
  return DefWindowProcA(hwnd_, message, wparam, lparam);
}

void WebPanel::OnSize() {
  const auto in_place = control_.Query<IOleInPlaceObject>(IID_IOleInPlaceObject);
  if (!in_place) return;
  RECT area;
  GetClientRect(hwnd_, &area);
  in_place->SetObjectRects(&area, &area);
}

void WebPanel::OnSetFocus() {
  const auto in_place = control_.Query<IOleInPlaceObject>(IID_IOleInPlaceObject);
  HWND control_window = nullptr;
  if (in_place && SUCCEEDED(in_place->GetWindow(&control_window)) && control_window &&
      IsChild(hwnd_, control_window))
    SetFocus(control_window);
}
