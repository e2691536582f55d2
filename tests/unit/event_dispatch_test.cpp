// FireEvent: the hold count, the lookup by address, and the outcome a firer reads.
#include "app/event_dispatch.h"

#include <gtest/gtest.h>

#include "recording_host.h"

namespace {

int g_calls = 0;

template <int Value>
std::optional<std::int32_t> Returns(HostServices&) {
  ++g_calls;
  return Value;
}
std::optional<std::int32_t> ReturnsNothing(HostServices&) {
  ++g_calls;
  return std::nullopt;
}

constexpr Binding kWindowBindings[] = {{window_event::kCreationComplete, ReturnsNothing},
                                       {window_event::kMayClose, Returns<0>}};
constexpr Binding kButtonBindings[] = {{button_event::kClick, Returns<7>}};
constexpr ControlRecord kControls[] = {
    {5, "b", ControlKind::PushButton, {0, 0, 10, 10}, "", true, false, true, 0, Pointer::None,
     kButtonBindings, false, nullptr, kButtonFace, kButtonFace, nullptr},
    {6, "l", ControlKind::Label, {0, 0, 10, 10}, "", true, false, false, 0, Pointer::None,
     {}, false, nullptr, kButtonFace, kButtonFace, nullptr},
};
constexpr WindowDefinition kWindow{.id = 3, .self_id = 9, .title = "", .rect = {}, .centred = false,
                                   .visible = true, .options = {}, .background = kButtonFace,
                                   .bindings = kWindowBindings, .controls = kControls};

class FireEventTest : public testing::Test {
protected:
  void SetUp() override {
    g_calls = 0;
    events.SetLoaded(true);
  }
  RecordingHost host;
  EventDispatch events{kWindow, host};
};

TEST_F(FireEventTest, NothingReachesAHandlerWhileHeld) {
  events.Hold();
  events.Hold();
  EXPECT_FALSE(events.FireEvent({3, 9, window_event::kCreationComplete}).handled);
  events.Release();
  EXPECT_FALSE(events.FireEvent({3, 5, button_event::kClick}).handled) << "still held once";
  events.Release();
  EXPECT_TRUE(events.FireEvent({3, 5, button_event::kClick}).handled);
  events.Release();  // never below zero
  events.Hold();
  EXPECT_FALSE(events.FireEvent({3, 5, button_event::kClick}).handled);
  EXPECT_EQ(g_calls, 1);
}

TEST_F(FireEventTest, OnlyALoadedWindowTakesEvents) {
  events.SetLoaded(false);
  EXPECT_FALSE(events.FireEvent({3, 9, window_event::kCreationComplete}).handled);
  EXPECT_EQ(g_calls, 0);
}

struct OutcomeCase {
  const char* what;
  EventAddress address;
  EventOutcome expected;
  bool refuses;
};

void PrintTo(const OutcomeCase& c, std::ostream* os) { *os << c.what; }

class FireEventOutcome : public FireEventTest, public testing::WithParamInterface<OutcomeCase> {};

TEST_P(FireEventOutcome, ReportsHandlerAndValue) {
  const OutcomeCase& c = GetParam();
  const EventOutcome out = events.FireEvent(c.address);
  EXPECT_EQ(out.handled, c.expected.handled);
  EXPECT_EQ(out.has_value, c.expected.has_value);
  EXPECT_EQ(out.value, c.expected.value);
  EXPECT_EQ(out.Refuses(), c.refuses);
  EXPECT_EQ(g_calls, c.expected.handled ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Addresses, FireEventOutcome,
    testing::Values(
        OutcomeCase{"no value allows", {3, 9, window_event::kCreationComplete}, {true, false, 0}, false},
        OutcomeCase{"false refuses", {3, 9, window_event::kMayClose}, {true, true, 0}, true},
        OutcomeCase{"a value other than false allows", {3, 5, button_event::kClick}, {true, true, 7}, false},
        OutcomeCase{"unbound index", {3, 9, window_event::kWillBeDestroyed}, {}, false},
        OutcomeCase{"control without bindings", {3, 6, 0}, {}, false},
        OutcomeCase{"unknown control", {3, 77, 0}, {}, false},
        OutcomeCase{"unknown window", {4, 9, window_event::kCreationComplete}, {}, false}),
    [](const auto& info) {
      std::string name = info.param.what;
      for (char& ch : name) if (!isalnum(static_cast<unsigned char>(ch))) ch = '_';
      return name;
    });

TEST(DefinitionLoading, RejectsDuplicateIdsAndIncompletePanels) {
  constexpr ControlRecord kPanelWithoutSettings[] = {
      {1, "p", ControlKind::WebPanel, {}, "", true, false, true, 0, Pointer::None, {}, false,
       nullptr, kButtonFace, kButtonFace, nullptr}};
  constexpr ControlRecord kDuplicate[] = {kControls[0], kControls[0]};
  WindowDefinition w = kWindow;
  EXPECT_TRUE(IsLoadable(w));
  w.controls = kDuplicate;
  EXPECT_FALSE(IsLoadable(w));
  w = kWindow;
  w.self_id = 5;  // the window's own id taken by a control
  EXPECT_FALSE(IsLoadable(w));
  w = kWindow;
  w.controls = kPanelWithoutSettings;
  EXPECT_FALSE(IsLoadable(w));
  w.controls = {};
  EXPECT_FALSE(IsLoadable(w));
}

}  // namespace
