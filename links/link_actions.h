#pragma once
// Handlers of the buttons that point the user to the site and its friends.

class HostServices;

void OpenSitePage(HostServices& host);
void OpenRankingSite(HostServices& host);
void OpenForum(HostServices& host);
void ShowAuthorNotice(HostServices& host);
