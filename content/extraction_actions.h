#pragma once
// Handlers that put the packaged lesson and documents on disk and open them.

class HostServices;

void PrepareWorkingFolder(HostServices& host);
void StartTutorial(HostServices& host);
void OpenSubmissionNotice(HostServices& host);
void OpenTutorialNotes(HostServices& host);
