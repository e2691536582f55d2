#include "links/link_actions.h"

void OpenSitePage(HostServices&) {}
void OpenRankingSite(HostServices&) {}
void OpenForum(HostServices&) {}
void ShowAuthorNotice(HostServices&) {}
