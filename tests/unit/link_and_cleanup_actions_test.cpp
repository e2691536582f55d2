// The link buttons, the notice and the close-time cleanup: fixed steps with
// constant arguments.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cleanup/cleanup_on_close.h"
#include "links/link_actions.h"
#include "recording_host.h"

namespace {

struct ActionCase {
  const char* what;
  void (*action)(HostServices&);
  std::vector<std::string> calls;
};

void PrintTo(const ActionCase& c, std::ostream* os) { *os << c.what; }

class FixedSteps : public testing::TestWithParam<std::tuple<ActionCase, bool>> {};

TEST_P(FixedSteps, RunInOrderWhateverTheHostAnswers) {
  const auto& [c, host_succeeds] = GetParam();
  RecordingHost host;
  host.answer = host_succeeds;
  c.action(host);
  EXPECT_EQ(host.calls, c.calls);
}

INSTANTIATE_TEST_SUITE_P(
    Handlers, FixedSteps,
    testing::Combine(
        testing::Values(
            ActionCase{"OpenSitePage", OpenSitePage, {"OpenUrl http://" LAUNCHER_SITE_HOST "/default.html"}},
            ActionCase{"OpenRankingSite", OpenRankingSite, {"OpenUrl http://" LAUNCHER_RANKING_HOST}},
            ActionCase{"OpenForum", OpenForum, {"OpenUrl http://" LAUNCHER_FORUM_HOST}},
            ActionCase{"ShowAuthorNotice", ShowAuthorNotice, {"ShowMessage 作者暂时没有主页"}},
            ActionCase{"CleanUpOnClose", CleanUpOnClose,
                       {"TerminateProcessByName velto77.exe", "TerminateProcessByName notepad.exe",
                        "WaitForTerminatedProcesses 1000", "RemoveFolderTree C:\\Program Files\\zorvalin"}}),
        testing::Bool()),
    [](const auto& info) {
      return std::string(std::get<0>(info.param).what) + (std::get<1>(info.param) ? "_HostSucceeds" : "_HostFails");
    });

// The three hosts are two names of the site and one other site; the URLs of
// the roots carry no path and no trailing slash.
TEST(SiteAddresses, HostsAreDistinctAndRootsBare) {
  const std::string site = LAUNCHER_SITE_HOST, forum = LAUNCHER_FORUM_HOST, ranking = LAUNCHER_RANKING_HOST;
  EXPECT_NE(site, forum);
  EXPECT_NE(site, ranking);
  for (const std::string& host : {site, forum, ranking}) {
    EXPECT_EQ(host.find('/'), std::string::npos) << host;
    EXPECT_FALSE(host.empty());
  }
}

}  // namespace
