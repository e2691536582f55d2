// The packaged blocks as stored, and every handler's fixed steps.
#include "cleanup/cleanup_on_close.h"
#include "content/extraction_actions.h"
#include "links/link_actions.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "content/embedded_blocks.h"
#include "recording_host.h"

namespace {

std::vector<std::uint8_t> ReadFile(const char* path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

struct BlockCase {
  const char* what;
  const std::uint8_t* block;
  std::span<const std::uint8_t> (*data)();
  const char* asset;
  std::size_t length;
};

void PrintTo(const BlockCase& c, std::ostream* os) { *os << c.what; }

class EmbeddedBlock : public testing::TestWithParam<BlockCase> {};

TEST_P(EmbeddedBlock, IsMarkerLengthAndTheAssetsBytes) {
  const BlockCase& c = GetParam();
  std::uint32_t marker, length;
  std::memcpy(&marker, c.block, 4);
  std::memcpy(&length, c.block + 4, 4);
  EXPECT_EQ(marker, 1u);
  EXPECT_EQ(length, c.length);
  const std::span<const std::uint8_t> data = c.data();
  EXPECT_EQ(data.data(), c.block + 8) << "read in place, never copied";
  EXPECT_EQ(data.size(), c.length);
  const std::vector<std::uint8_t> asset = ReadFile(c.asset);
  ASSERT_EQ(asset.size(), c.length) << c.asset;
  EXPECT_TRUE(std::equal(data.begin(), data.end(), asset.begin())) << "differs from " << c.asset;
}

INSTANTIATE_TEST_SUITE_P(
    Blocks, EmbeddedBlock,
    testing::Values(BlockCase{"TutorialImage", kTutorialImageBlock, TutorialImage, LAUNCHER_STAGED_IMAGE, 15739242},
                    BlockCase{"SubmissionNotice", kSubmissionNoticeBlock, SubmissionNotice, LAUNCHER_STAGED_NOTICE, 459},
                    BlockCase{"TutorialNotes", kTutorialNotesBlock, TutorialNotes, LAUNCHER_STAGED_NOTES, 451}),
    [](const auto& info) { return std::string(info.param.what); });

struct ActionCase {
  const char* what;
  void (*action)(HostServices&);
  std::vector<std::string> calls;
};

void PrintTo(const ActionCase& c, std::ostream* os) { *os << c.what; }

class HandlerSteps : public testing::TestWithParam<std::tuple<ActionCase, bool>> {};

// The same fixed steps whether or not the host succeeds: no step looks at a result.
TEST_P(HandlerSteps, RunInOrderWhateverTheHostAnswers) {
  const auto& [c, host_succeeds] = GetParam();
  RecordingHost host;
  host.answer = host_succeeds;
  c.action(host);
  EXPECT_EQ(host.calls, c.calls);
}

INSTANTIATE_TEST_SUITE_P(
    Handlers, HandlerSteps,
    testing::Combine(
        testing::Values(
            ActionCase{"PrepareWorkingFolder", PrepareWorkingFolder, {"CreateFolder C:\\Program Files\\zorvalin"}},
            ActionCase{"StartTutorial", StartTutorial,
                       {"WriteBlockToFile C:\\Program Files\\zorvalin\\velto77.exe 15739242",
                        "RunProgram C:\\Program Files\\zorvalin\\velto77.exe"}},
            ActionCase{"OpenSubmissionNotice", OpenSubmissionNotice,
                       {"WriteBlockToFile C:\\Program Files\\zorvalin\\tougao.txt 459",
                        "ShellOpen notepad.exe C:\\Program Files\\zorvalin\\tougao.txt"}},
            ActionCase{"OpenTutorialNotes", OpenTutorialNotes,
                       {"WriteBlockToFile C:\\Program Files\\zorvalin\\shuoming.txt 451",
                        "ShellOpen notepad.exe C:\\Program Files\\zorvalin\\shuoming.txt"}},
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
