#include "printing/printer_list_selection.h"

#include <gtest/gtest.h>

#include "fake_printer_platform.h"

namespace orbin {
namespace {

using testing::FakePrinterPlatform;
using Strings = std::vector<std::string>;

class RecordingCaption : public WindowCaption {
 public:
  Strings captions;
  void SetCaption(const std::string& caption) override { captions.push_back(caption); }
};

const Strings kClickCaptions{"印表機 設定中 ...........", "請設定 選擇以下印表機"};

struct SelectionCase {
  const char* name;
  std::string selected;
  bool becomes_default;
};

class PrinterListClick : public ::testing::TestWithParam<SelectionCase> {};

TEST_P(PrinterListClick, SwitchesAndSetsTheCaptionWhateverTheOutcome) {
  FakePrinterPlatform platform;
  platform.profile[{"windows", "Device"}] = "Old,winspool,LPT2:";
  platform.profile[{"PrinterPorts", "Laser A"}] = "winspool,LPT1:,15,45";
  PrinterListSelection selection(platform);
  EXPECT_TRUE(platform.calls.empty());  // the switcher waits for the first click

  RecordingCaption caption;
  selection.Combo1_Click(GetParam().selected, caption);

  EXPECT_EQ(caption.captions, kClickCaptions);
  const std::string device = platform.profile[{"windows", "Device"}];
  EXPECT_EQ(device, GetParam().becomes_default ? GetParam().selected + ",winspool,LPT1:"
                                               : "Old,winspool,LPT2:");
}

INSTANTIATE_TEST_SUITE_P(Selections, PrinterListClick,
                         ::testing::Values(SelectionCase{"Installed", "Laser A", true},
                                           SelectionCase{"AlreadyDefault", "Old", false},
                                           SelectionCase{"NotInstalled", "Nobody", false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PrinterListClickSwitcher, IsCreatedOnceAndKeptForTheWindow) {
  FakePrinterPlatform platform;
  platform.profile[{"windows", "Device"}] = "Old,winspool,LPT2:";
  platform.profile[{"PrinterPorts", "Laser A"}] = "winspool,LPT1:,15,45";
  PrinterListSelection selection(platform);
  RecordingCaption caption;
  selection.Combo1_Click("Laser A", caption);
  platform.calls.clear();

  // The kept switcher knows "Laser A" is now the default.
  selection.Combo1_Click("Laser A", caption);
  EXPECT_EQ(platform.calls, Strings{"version"});
}

}  // namespace
}  // namespace orbin
