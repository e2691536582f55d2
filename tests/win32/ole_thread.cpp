// The launcher initialises OLE on its GUI thread before it makes the window,
// as the browser control needs; the in-process tests run on such a thread too.
#include <ole2.h>

#include <gtest/gtest.h>

namespace {

class OleThread : public testing::Environment {
public:
  void SetUp() override { ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr))); }
  void TearDown() override { OleUninitialize(); }
};

[[maybe_unused]] testing::Environment* const kOleThread =
    testing::AddGlobalTestEnvironment(new OleThread);

}  // namespace
