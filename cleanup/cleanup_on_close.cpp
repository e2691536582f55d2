#include "cleanup/cleanup_on_close.h"

void CleanUpOnClose(HostServices&) {}
