// The packaged blocks as stored, and the handlers that write and open them.
#include "content/extraction_actions.h"

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

class ExtractionAction : public testing::TestWithParam<std::tuple<ActionCase, bool>> {};

// The same fixed steps whether or not the host succeeds: no step looks at a result.
TEST_P(ExtractionAction, RunsItsStepsInOrder) {
  const auto& [c, host_succeeds] = GetParam();
  RecordingHost host;
  host.answer = host_succeeds;
  c.action(host);
  EXPECT_EQ(host.calls, c.calls);
}

INSTANTIATE_TEST_SUITE_P(
    Handlers, ExtractionAction,
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
                        "ShellOpen notepad.exe C:\\Program Files\\zorvalin\\shuoming.txt"}}),
        testing::Bool()),
    [](const auto& info) {
      return std::string(std::get<0>(info.param).what) + (std::get<1>(info.param) ? "_HostSucceeds" : "_HostFails");
    });

}  // namespace
