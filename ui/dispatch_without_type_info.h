#pragma once
// The type-information half of IDispatch for objects that offer none: the
// control calls our site and sink by dispatch id only.
#include <windows.h>
#include <oaidl.h>

namespace dispatch_without_type_info {

inline HRESULT TypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 0;
  return S_OK;
}

inline HRESULT TypeInfo(ITypeInfo** info) {
  if (info) *info = nullptr;
  return DISP_E_BADINDEX;
}

inline HRESULT IdsOfNames(UINT names, DISPID* ids) {
  if (ids)
    for (UINT i = 0; i < names; ++i) ids[i] = DISPID_UNKNOWN;
  return DISP_E_UNKNOWNNAME;
}

}  // namespace dispatch_without_type_info
