#pragma once
#include <windows.h>

#include "host/owned.h"

using OwnedFont = Owned<HFONT, DeleteObject>;
using OwnedIcon = Owned<HICON, DestroyIcon>;
