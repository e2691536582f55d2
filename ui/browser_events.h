#pragma once
// The sink of the browser control's DWebBrowserEvents2: turns its ten
// notifications into the web panel's events 0 to 9 and answers the two that
// can be cancelled from the events' outcomes.

#include <windows.h>
#include <oaidl.h>

#include <cstdint>

#include "app/event_dispatch.h"
#include "ui/com_ref_count.h"

// Whoever raises the panel's events.
class BrowserEventReceiver {
public:
  // `target` is the address a before-navigate event is about to go to, and
  // null for every other event.
  virtual EventOutcome OnBrowserEvent(std::int32_t index, const wchar_t* target) = 0;

protected:
  ~BrowserEventReceiver() = default;
};

class BrowserEvents final : public IDispatch {
public:
  // Created with one reference, the caller's.
  explicit BrowserEvents(BrowserEventReceiver& receiver) : receiver_(&receiver) {}

  // The panel is going: notifications still on their way reach nobody.
  void Detach() { receiver_ = nullptr; }

  // The panel's event for a notification, or -1 when it is not one of ours.
  static std::int32_t EventOf(DISPID id);

  STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
  STDMETHODIMP_(ULONG) AddRef() override { return refs_.Add(); }
  STDMETHODIMP_(ULONG) Release() override;
  STDMETHODIMP GetTypeInfoCount(UINT* count) override;
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT names, LCID, DISPID* ids) override;
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT* result,
                      EXCEPINFO*, UINT*) override;

private:
  ~BrowserEvents() = default;
  HRESULT Deliver(std::int32_t event, DISPID id, const DISPPARAMS& params);

  ComRefCount refs_;
  BrowserEventReceiver* receiver_;
};
