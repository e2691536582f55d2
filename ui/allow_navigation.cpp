#include "ui/allow_navigation.h"

void AllowNavigation(HostServices&) {}
