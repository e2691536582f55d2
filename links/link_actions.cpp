#include "links/link_actions.h"

#include "host/host_services.h"
#include "links/site_addresses.h"

void OpenSitePage(HostServices& host) { host.OpenUrl(kSitePage); }
void OpenRankingSite(HostServices& host) { host.OpenUrl(kRankingSiteRoot); }
void OpenForum(HostServices& host) { host.OpenUrl(kForumRoot); }
void ShowAuthorNotice(HostServices& host) { host.ShowMessage("作者暂时没有主页"); }
