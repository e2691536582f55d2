#pragma once

class HostServices;

// The web panel's before-navigate handler: returns no value, so every
// navigation goes on.
void AllowNavigation(HostServices& host);
