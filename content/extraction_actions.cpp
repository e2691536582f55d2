#include "content/extraction_actions.h"

void PrepareWorkingFolder(HostServices&) {}
void StartTutorial(HostServices&) {}
void OpenSubmissionNotice(HostServices&) {}
void OpenTutorialNotes(HostServices&) {}
