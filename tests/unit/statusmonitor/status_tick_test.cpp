#include "statusmonitor/status_tick.h"

#include <gtest/gtest.h>

#include "common/failure.h"
#include "fakes/fake_platform.h"
#include "fakes/fake_reader_library.h"

namespace orbin {
namespace {

using Log = std::vector<std::string>;

struct FakeMonitorView : StatusMonitorView {
  Log captions;
  std::optional<MemoryTexts> memory;
  std::optional<std::string> caption_when_shown;
  bool tray = false;
  void SetCaption(const std::string& caption) override { captions.push_back(caption); }
  void SetMemoryTexts(const MemoryTexts& texts) override { memory = texts; }
  void AddTrayIcon() override { tray = true; }
  void Show() override { caption_when_shown = captions.back(); }
};

struct FakeMemory : MemorySource {
  bool fails = false;
  MemoryFigures Read() override {
    if (fails) throw Failure("GlobalMemoryStatusEx failed");
    return {37, 8ull << 30, 1536, 1023, 0, 2ull << 30, 123456789};
  }
};

class StatusTickTest : public ::testing::Test {
 protected:
  Log calls;
  testing::FakeReaderLibrary reader{calls};
  testing::FakeClock clock;  // 2026-12-07 10:00:00
  FakeMemory memory;
  FakeMonitorView view;
  StatusMonitor monitor{view, reader, clock, memory};
};

TEST(TimeOfDayText, TwoDigitsEachOnThe24HourClock) {
  const std::pair<LocalTime, const char*> cases[] = {{{2026, 1, 1, 14, 5, 9}, "14:05:09"},
                                                     {{2026, 1, 1, 0, 0, 0}, "00:00:00"},
                                                     {{2026, 1, 1, 23, 59, 59}, "23:59:59"}};
  for (const auto& [time, text] : cases) EXPECT_EQ(TimeOfDayText(time), text);
}

TEST_F(StatusTickTest, CaptionShowsTimeThenTimeAndStatus) {
  reader.status = {1};
  clock.step_per_read_seconds = 1;  // the second reading is the later time
  monitor.Timer1_Timer();
  EXPECT_EQ(view.captions, (Log{"10:00:00", "10:00:01 - 1"}));
  EXPECT_EQ(calls, (Log{"csOpenCom(0)", "hisGetCardStatus(2)", "csCloseCom()"}));
}

TEST_F(StatusTickTest, OpenStatusAndCloseRunWhateverEachReturns) {
  reader.open = {-7};
  reader.status = {-3};
  monitor.Timer1_Timer();
  EXPECT_EQ(calls, (Log{"csOpenCom(0)", "hisGetCardStatus(2)", "csCloseCom()"}));
  EXPECT_EQ(view.captions.back(), "10:00:00 - -3");
}

TEST_F(StatusTickTest, MissingLibraryOrEntryPointShowsItsNumberOnEveryTick) {
  for (int number : {kReaderLibraryMissing, kReaderEntryPointMissing}) {
    reader.failure = number;
    for (int tick = 0; tick < 2; ++tick) {
      calls.clear();
      EXPECT_NO_THROW(monitor.Timer1_Timer());
      EXPECT_EQ(view.captions.back(), "10:00:00 - " + std::to_string(number));
      EXPECT_EQ(calls.size(), 3u);
    }
  }
}

TEST_F(StatusTickTest, FailingCloseOrMemoryDoesNotStopTheTick) {
  reader.close_fails = true;
  memory.fails = true;
  EXPECT_NO_THROW(monitor.Timer1_Timer());
  EXPECT_EQ(view.captions.back(), "10:00:00 - 0");
  EXPECT_FALSE(view.memory);
}

TEST_F(StatusTickTest, LoadTicksBeforeShowingWithTheTrayIcon) {
  monitor.Form_Load();
  EXPECT_EQ(view.caption_when_shown, "10:00:00 - 0");
  EXPECT_TRUE(view.tray);
}

TEST_F(StatusTickTest, MemoryFieldsRefreshWithEachTick) {
  monitor.Timer1_Timer();
  ASSERT_TRUE(view.memory);
  EXPECT_EQ(view.memory->memory_used, "37 %");
  EXPECT_EQ(view.memory->total_physical, "8,388,608 KB");
  EXPECT_EQ(view.memory->available_physical, "1 KB");
  EXPECT_EQ(view.memory->page_file, "0 KB");
  EXPECT_EQ(view.memory->available_page_file, "0 KB");
  EXPECT_EQ(view.memory->total_virtual, "2,097,152 KB");
  EXPECT_EQ(view.memory->available_virtual, "120,563 KB");
}

}  // namespace
}  // namespace orbin
