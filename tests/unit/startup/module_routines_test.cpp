#include "startup/module_routines.h"

#include <gtest/gtest.h>

#include "common/failure.h"
#include "fakes/fake_platform.h"

namespace orbin {
namespace {

using testing::CountingEventPump;
using testing::FakeClock;

struct MidBytesCase {
  const char* text;
  int start;
  int width;
  const char* expected;
};

class MidBytesTest : public ::testing::TestWithParam<MidBytesCase> {};

TEST_P(MidBytesTest, CutsByteFields) {
  const auto& c = GetParam();
  EXPECT_EQ(MidBytes(c.text, c.start, c.width), c.expected) << c.text << " @" << c.start;
}

INSTANTIATE_TEST_SUITE_P(
    Fields, MidBytesTest,
    ::testing::Values(
        // A 30-byte line.
        MidBytesCase{"abcdefghijklmnopqrstuvwxyz0123", 26, 2, "z0"},
        MidBytesCase{"abcdefghijklmnopqrstuvwxyz0123", 30, 2, "3 "},
        MidBytesCase{"abcdefghijklmnopqrstuvwxyz0123", 31, 2, "  "},
        MidBytesCase{"abc", 10, 2, ""},  // past the padding
        MidBytesCase{"", 1, 2, "  "},
        // Chinese characters take two bytes each in code page 950.
        MidBytesCase{"診所ab", 5, 2, "ab"},
        MidBytesCase{"診所ab", 3, 2, "所"},
        MidBytesCase{"診所ab", 1, 4, "診所"},
        MidBytesCase{"x診所", 1, 3, "x診"}));

TEST(MidBytes, CutDoubleByteCharacterGivesAReplacement) {
  // Byte 2 is the second byte of a character: the conversion's replacement,
  // not a crash and not the whole character.
  std::string cut = MidBytes("診所", 2, 2);
  EXPECT_NE(cut, "診");
  EXPECT_NE(cut, "所");
}

TEST(MidBytes, StartBelowOneIsAFailure) {
  EXPECT_THROW(MidBytes("abc", 0, 2), Failure);
}

TEST(WaitSeconds, ZeroReturnsWithoutDispatching) {
  FakeClock clock;
  CountingEventPump events;
  WaitSeconds(0, clock, events);
  EXPECT_EQ(events.dispatches, 0);
}

TEST(WaitSeconds, DispatchesUntilTheSecondChanges) {
  FakeClock clock;
  clock.step_per_read_seconds = 0;
  CountingEventPump events;
  struct AdvancingPump : EventPump {
    FakeClock* clock;
    int dispatches = 0;
    void DispatchPending() override {
      if (++dispatches == 3) clock->Advance(1);
    }
  } pump;
  pump.clock = &clock;
  WaitSeconds(1, clock, pump);
  EXPECT_EQ(pump.dispatches, 3);
}

TEST(ReadIniKey, ReadsSectionVexaDentOfTheGivenFile) {
  testing::FakeSettings settings;
  settings.values[{"C:\\w\\VexaSys.ini", "VexaDent", "BCDEFGIJKM"}] = "XYZ";
  settings.values[{"C:\\w\\VexaSys.ini", "Other", "Key"}] = "no";
  EXPECT_EQ(ReadIniKey(settings, "BCDEFGIJKM", "d", "C:\\w\\VexaSys.ini"), "XYZ");
  EXPECT_EQ(ReadIniKey(settings, "Key", "d", "C:\\w\\VexaSys.ini"), "d");
  EXPECT_EQ(ReadIniKey(settings, "BCDEFGIJKM", "d", "C:\\none.ini"), "d");
}

}  // namespace
}  // namespace orbin
