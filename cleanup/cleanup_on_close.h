#pragma once

class HostServices;

// Runs while the main window is being destroyed: ends what the launcher
// started and removes the working folder.
void CleanUpOnClose(HostServices& host);
