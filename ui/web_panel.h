#pragma once
// The web panel: a host window of its own class that holds the platform's
// browser control, in place, and raises the control's notifications as the
// panel's events.

#include <windows.h>
#include <exdisp.h>
#include <ocidl.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/event_dispatch.h"
#include "ui/browser_events.h"
#include "ui/browser_site.h"
#include "ui/com_owners.h"

class WebPanel final : public BrowserEventReceiver {
public:
  using Fire = std::function<EventOutcome(std::int32_t index)>;

  // Creates the host and the control in it and starts loading the panel's
  // page. Null when the panel cannot be made; then nothing of it is left.
  static std::unique_ptr<WebPanel> Create(HWND parent, const ControlRecord& record, int child_id,
                                          Fire fire);
  ~WebPanel();
  WebPanel(const WebPanel&) = delete;
  WebPanel& operator=(const WebPanel&) = delete;

  HWND hwnd() const { return hwnd_; }
  // The panel's address; while a before-navigate event runs, the address that
  // navigation is going to.
  std::string CurrentAddress() const;

  // The control's notifications, as its event sink hands them on.
  EventOutcome OnBrowserEvent(std::int32_t index, const wchar_t* target) override;

private:
  WebPanel(const WebPanelSettings& settings, Fire fire)
      : settings_(settings),
        address_(settings.address ? settings.address : ""),
        fire_(std::move(fire)) {}

  bool CreateHost(HWND parent, const ControlRecord& record, int child_id);
  bool EmbedBrowser();
  void StartBrowsing();
  void TearDownBrowser();

  static LRESULT CALLBACK HostProcedure(HWND, UINT, WPARAM, LPARAM);
  LRESULT Handle(UINT message, WPARAM wparam, LPARAM lparam);
  void OnSize();
  void OnSetFocus();

  const WebPanelSettings settings_;
  const std::string address_;
  Fire fire_;
  std::optional<std::string> navigation_target_;
  // Ours; the control holds references of its own to both until teardown.
  ComPtr<BrowserSite> site_;
  ComPtr<BrowserEvents> sink_;
  // The control's interfaces, released in TearDownBrowser in its order.
  ComPtr<IOleObject> control_;
  ComPtr<IWebBrowser2> browser_;
  ComPtr<IConnectionPoint> event_source_;
  DWORD sink_cookie_ = 0;
  HWND hwnd_ = nullptr;
};
