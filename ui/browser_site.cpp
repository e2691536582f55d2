#include "ui/browser_site.h"

#include <olectl.h>

#include <idispids.h>

#include "ui/dispatch_without_type_info.h"

STDMETHODIMP BrowserSite::QueryInterface(REFIID iid, void** object) {
  if (!object) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_IOleClientSite)
    *object = static_cast<IOleClientSite*>(this);
  else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceSite)
    *object = static_cast<IOleInPlaceSite*>(this);
  else if (iid == IID_IOleInPlaceUIWindow || iid == IID_IOleInPlaceFrame)
    *object = static_cast<IOleInPlaceFrame*>(this);
  else if (iid == IID_IDispatch)
    *object = static_cast<IDispatch*>(this);
  else {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) BrowserSite::Release() {
  const ULONG left = refs_.Drop();
  if (left == 0) delete this;
  return left;
}

STDMETHODIMP BrowserSite::GetMoniker(DWORD, DWORD, IMoniker** moniker) {
  if (moniker) *moniker = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP BrowserSite::GetContainer(IOleContainer** container) {
  if (container) *container = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP BrowserSite::GetWindow(HWND* window) {
  if (!window) return E_POINTER;
  *window = host_;
  return host_ ? S_OK : E_FAIL;
}

STDMETHODIMP BrowserSite::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document,
                                           RECT* position, RECT* clip,
                                           OLEINPLACEFRAMEINFO* info) {
  if (frame) *frame = nullptr;
  // Null: the frame is also the document window.
  if (document) *document = nullptr;
  if (!frame || !position || !clip || !info) return E_POINTER;
  if (!host_) return E_FAIL;
  GetClientRect(host_, position);
  *clip = *position;
  info->fMDIApp = FALSE;
  info->hwndFrame = host_;
  info->haccel = nullptr;
  info->cAccelEntries = 0;
  *frame = static_cast<IOleInPlaceFrame*>(this);
  AddRef();
  return S_OK;
}

STDMETHODIMP BrowserSite::GetTypeInfoCount(UINT* count) {
  return dispatch_without_type_info::TypeInfoCount(count);
}

STDMETHODIMP BrowserSite::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  return dispatch_without_type_info::TypeInfo(info);
}

STDMETHODIMP BrowserSite::GetIDsOfNames(REFIID, LPOLESTR*, UINT names, LCID, DISPID* ids) {
  return dispatch_without_type_info::IdsOfNames(names, ids);
}

// The control asks for its ambient properties right after SetClientSite; it
// keeps its own default for any we do not answer.
STDMETHODIMP BrowserSite::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS*,
                                 VARIANT* result, EXCEPINFO*, UINT*) {
  bool value;
  switch (id) {
    case DISPID_AMBIENT_USERMODE: value = true; break;
    case DISPID_AMBIENT_SILENT: value = ambient_.silent; break;
    case DISPID_AMBIENT_OFFLINEIFNOTCONNECTED: value = ambient_.offline; break;
    default: return DISP_E_MEMBERNOTFOUND;
  }
  if (!(flags & DISPATCH_PROPERTYGET) || !result) return DISP_E_MEMBERNOTFOUND;
  VariantInit(result);
  V_VT(result) = VT_BOOL;
  V_BOOL(result) = value ? VARIANT_TRUE : VARIANT_FALSE;
  return S_OK;
}
