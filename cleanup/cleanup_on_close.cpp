#include "cleanup/cleanup_on_close.h"

#include "content/packaged_paths.h"
#include "host/host_services.h"

void CleanUpOnClose(HostServices& host) {
  host.TerminateProcessByName(kTutorialProcessName);
  host.TerminateProcessByName(kEditor);
  // An ended process keeps its executable file locked until it has exited;
  // deleting at once would leave the tutorial, and so the folder, behind.
  host.WaitForTerminatedProcesses(1000);
  host.RemoveFolderTree(kWorkingFolder);
}
