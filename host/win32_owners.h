#pragma once
#include <windows.h>

#include "host/owned.h"

using OwnedHandle = Owned<HANDLE, CloseHandle>;
using OwnedFind = Owned<HANDLE, FindClose>;

// Files, snapshots and searches report failure as INVALID_HANDLE_VALUE, the
// rest as null; the owners know only null.
inline HANDLE NullIfInvalid(HANDLE h) { return h == INVALID_HANDLE_VALUE ? nullptr : h; }
