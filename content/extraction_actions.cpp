#include "content/extraction_actions.h"

#include "content/embedded_blocks.h"
#include "content/packaged_paths.h"
#include "host/host_services.h"

// Each step runs whatever the one before it returned.

void PrepareWorkingFolder(HostServices& host) { host.CreateFolder(kWorkingFolder); }

void StartTutorial(HostServices& host) {
  host.WriteBlockToFile(kTutorialPath, TutorialImage());
  host.RunProgram(kTutorialPath);
}

void OpenSubmissionNotice(HostServices& host) {
  host.WriteBlockToFile(kNoticePath, SubmissionNotice());
  host.ShellOpen(kEditor, kNoticePath);
}

void OpenTutorialNotes(HostServices& host) {
  host.WriteBlockToFile(kNotesPath, TutorialNotes());
  host.ShellOpen(kEditor, kNotesPath);
}
