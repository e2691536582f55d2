#include "ui/browser_events.h"

#include <exdisp.h>
#include <exdispid.h>

#include <iterator>

#include "ui/dispatch_without_type_info.h"

namespace {

// The panel's events in their order, by the notification that raises each.
constexpr DISPID kNotificationOfEvent[] = {
    DISPID_BEFORENAVIGATE2,  DISPID_NAVIGATECOMPLETE2, DISPID_DOWNLOADBEGIN,
    DISPID_PROGRESSCHANGE,   DISPID_DOWNLOADCOMPLETE,  DISPID_DOCUMENTCOMPLETE,
    DISPID_STATUSTEXTCHANGE, DISPID_TITLECHANGE,       DISPID_COMMANDSTATECHANGE,
    DISPID_NEWWINDOW2,
};

// BeforeNavigate2(pDisp, URL, Flags, TargetFrameName, PostData, Headers, Cancel)
// and NewWindow2(ppDisp, Cancel), counted from the first parameter.
constexpr UINT kBeforeNavigateArguments = 7, kUrlPlace = 1;
constexpr UINT kNewWindowArguments = 2;

// A notification's argument by its place in the signature. IDispatch passes
// them last first (so the URL of BeforeNavigate2 is rgvarg[5]); a notification
// with another number of them is taken to carry none we can read.
const VARIANT* Argument(const DISPPARAMS& params, UINT count, UINT place) {
  if (params.cArgs != count || !params.rgvarg || place >= count) return nullptr;
  return &params.rgvarg[count - 1 - place];
}

const VARIANT* Unwrapped(const VARIANT* v) {
  if (v && V_VT(v) == (VT_BYREF | VT_VARIANT)) return V_VARIANTREF(v);
  return v;
}

const wchar_t* TextIn(const VARIANT* argument) {
  const VARIANT* v = Unwrapped(argument);
  if (!v) return nullptr;
  if (V_VT(v) == VT_BSTR) return V_BSTR(v) ? V_BSTR(v) : L"";
  if (V_VT(v) == (VT_BYREF | VT_BSTR) && V_BSTRREF(v)) return *V_BSTRREF(v) ? *V_BSTRREF(v) : L"";
  return nullptr;
}

// The cancel flag is the last parameter of both notifications that have one.
VARIANT_BOOL* CancelFlagIn(const DISPPARAMS& params, UINT count) {
  const VARIANT* v = Argument(params, count, count - 1);
  if (v && V_VT(v) == (VT_BYREF | VT_BOOL)) return V_BOOLREF(v);
  v = Unwrapped(v);
  if (v && V_VT(v) == VT_BOOL) return &const_cast<VARIANT*>(v)->boolVal;
  return nullptr;
}

}  // namespace

std::int32_t BrowserEvents::EventOf(DISPID id) {
  for (std::size_t event = 0; event < std::size(kNotificationOfEvent); ++event)
    if (kNotificationOfEvent[event] == id) return static_cast<std::int32_t>(event);
  return -1;
}

STDMETHODIMP BrowserEvents::QueryInterface(REFIID iid, void** object) {
  if (!object) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_IDispatch || iid == DIID_DWebBrowserEvents2) {
    *object = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) BrowserEvents::Release() {
  const ULONG left = refs_.Drop();
  if (left == 0) delete this;
  return left;
}

STDMETHODIMP BrowserEvents::GetTypeInfoCount(UINT* count) {
  return dispatch_without_type_info::TypeInfoCount(count);
}

STDMETHODIMP BrowserEvents::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  return dispatch_without_type_info::TypeInfo(info);
}

STDMETHODIMP BrowserEvents::GetIDsOfNames(REFIID, LPOLESTR*, UINT names, LCID, DISPID* ids) {
  return dispatch_without_type_info::IdsOfNames(names, ids);
}

STDMETHODIMP BrowserEvents::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO*, UINT*) {
  const std::int32_t event = EventOf(id);
  if (event < 0) return DISP_E_MEMBERNOTFOUND;
  if (result) VariantInit(result);
  const DISPPARAMS none{};
  // A handler may close the window, and the panel let go of us, meanwhile.
  AddRef();
  HRESULT hr;
  try {
    hr = Deliver(event, id, params ? *params : none);
  } catch (...) {
    hr = E_UNEXPECTED;  // nothing of ours unwinds into the control
  }
  Release();
  return hr;
}

HRESULT BrowserEvents::Deliver(std::int32_t event, DISPID id, const DISPPARAMS& params) {
  if (!receiver_) return S_OK;
  VARIANT_BOOL* cancel = nullptr;
  const wchar_t* target = nullptr;
  if (id == DISPID_BEFORENAVIGATE2) {
    target = TextIn(Argument(params, kBeforeNavigateArguments, kUrlPlace));
    if (!target) target = L"";
    cancel = CancelFlagIn(params, kBeforeNavigateArguments);
  } else if (id == DISPID_NEWWINDOW2) {
    cancel = CancelFlagIn(params, kNewWindowArguments);
  }
  const EventOutcome outcome = receiver_->OnBrowserEvent(event, target);
  if (cancel) *cancel = outcome.Refuses() ? VARIANT_TRUE : VARIANT_FALSE;
  return S_OK;
}
