#include "cardreader/progress_window.h"

#include <gtest/gtest.h>

#include "common/program_end.h"
#include "fakes/fake_platform.h"
#include "unit/cardreader/fake_progress_view.h"
#include "fakes/fake_reader_library.h"

namespace orbin {
namespace {

struct PlacementCase {
  TwipsSize screen, window;
  TwipsPoint expected;
};

class PlacementTest : public ::testing::TestWithParam<PlacementCase> {};

TEST_P(PlacementTest, CentresAcrossAndAThirdDownLess400) {
  const TwipsPoint at = ProgressPlacement(GetParam().screen, GetParam().window);
  EXPECT_DOUBLE_EQ(at.left, GetParam().expected.left);
  EXPECT_DOUBLE_EQ(at.top, GetParam().expected.top);
}

INSTANTIATE_TEST_SUITE_P(
    Screens, PlacementTest,
    ::testing::Values(PlacementCase{{15360, 11520}, {3930, 540}, {5715, 3260}},  // 1024 x 768
                      PlacementCase{{9600, 7200}, {3930, 540}, {2835, 1820}},    // 640 x 480
                      PlacementCase{{15360, 11520}, {3931, 541}, {5714.5, 3259 + 2.0 / 3}},
                      PlacementCase{{3000, 1200}, {3930, 540}, {-465, -180}}));  // off-screen

class ProgressWindowTest : public ::testing::Test {
 protected:
  std::vector<std::string> log;
  testing::FakeProgressView view{log};
  testing::FakeReaderLibrary reader{log};
  testing::CountingEventPump events;
  ProgressWindow window{view, reader, events};
};

TEST_F(ProgressWindowTest, FirstMessageShowsInRedAfterTheLoadTick) {
  window.ShowProgress("COM: 1  進行認證");
  EXPECT_TRUE(view.visible);
  EXPECT_EQ(view.caption, "COM: 1  進行認證");
  EXPECT_EQ(view.colour, kPureRed);
  EXPECT_EQ(window.tick_count(), 1);
  EXPECT_EQ(view.left, 5715);
  EXPECT_EQ(view.top, 3260);
  EXPECT_GE(events.dispatches, 1);  // painted before the caller goes on
}

TEST_F(ProgressWindowTest, EachTickSwitchesRedAndBlueAndAnyOtherColourToRed) {
  window.ShowProgress("m");
  const std::uint32_t after_tick[] = {kPureBlue, kPureRed, kPureBlue};
  for (std::uint32_t expected : after_tick) {
    window.Timer1_Timer();
    EXPECT_EQ(view.colour, expected);
  }
  view.colour = 0x0000FE;
  window.Timer1_Timer();
  EXPECT_EQ(view.colour, kPureRed);
}

TEST_F(ProgressWindowTest, The601stTickClosesTheReaderAndEnds) {
  window.ShowProgress("m");  // tick 1
  for (int tick = 2; tick <= kProgressTickLimit; ++tick) window.Timer1_Timer();
  EXPECT_EQ(log, std::vector<std::string>{"m"});
  EXPECT_THROW(window.Timer1_Timer(), EndProgram);
  EXPECT_EQ(log, (std::vector<std::string>{"m", "csCloseCom()", "unload"}));
  EXPECT_FALSE(window.loaded());
}

TEST_F(ProgressWindowTest, CloseButtonEndsEvenWhenTheReaderCannotClose) {
  window.ShowProgress("m");
  reader.close_fails = true;
  EXPECT_THROW(window.Command1_Click(), EndProgram);
  EXPECT_FALSE(view.loaded);
}

TEST_F(ProgressWindowTest, DoubleClickHidesUntilTheNextMessage) {
  window.ShowProgress("first");
  window.Label1_DblClick();
  EXPECT_FALSE(view.visible);
  EXPECT_TRUE(window.loaded());
  window.ShowProgress("second");
  EXPECT_TRUE(view.visible);
  EXPECT_EQ(view.caption, "second");
  EXPECT_EQ(view.loads, 1);
  EXPECT_EQ(window.tick_count(), 1);  // no second load tick
}

}  // namespace
}  // namespace orbin
