#include "printing/default_printer_switcher.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "fake_printer_platform.h"

namespace orbin {
namespace {

using testing::FakePrinterPlatform;
using Calls = std::vector<std::string>;

constexpr VersionRecord kWindows10{10, 0, 19045, kPlatformWindowsNt};
constexpr VersionRecord kWindows98{4, 10, 0x040A08AE, kPlatformWindows9x};

bool Called(const FakePrinterPlatform& platform, const std::string& call) {
  return std::find(platform.calls.begin(), platform.calls.end(), call) != platform.calls.end();
}

// A platform where "Laser A" can be switched to by either method, and
// "Old" is the default.
FakePrinterPlatform PlatformWithLaserA(VersionRecord version) {
  FakePrinterPlatform platform;
  platform.version = version;
  platform.profile[{"windows", "Device"}] = "Old,winspool,LPT2:";
  platform.profile[{"PrinterPorts", "Laser A"}] = "winspool,LPT1:,15,45";
  platform.spooler["Laser A"] = {"Laser A", "LPT1:", 0x208, 15, 45};
  return platform;
}

// --- Creation -------------------------------------------------------------

struct CreationCase {
  const char* device_value;  // nullptr: no "Device" entry
  const char* expected_current;
};

class SwitcherCreation : public ::testing::TestWithParam<CreationCase> {};

TEST_P(SwitcherCreation, TakesTheDeviceNamePartOfTheProfileEntry) {
  FakePrinterPlatform platform;
  if (GetParam().device_value) platform.profile[{"windows", "Device"}] = GetParam().device_value;
  cSetDfltPrinter switcher(platform);
  EXPECT_EQ(switcher.CurrentDevice(), GetParam().expected_current);
  EXPECT_EQ(platform.calls, Calls{"get windows/Device 8192"});
}

INSTANTIATE_TEST_SUITE_P(
    DeviceValues, SwitcherCreation,
    ::testing::Values(CreationCase{"HP LaserJet 4,winspool,Ne00:", "HP LaserJet 4"},
                      CreationCase{"診所印表機,winspool,LPT1:", "診所印表機"},
                      CreationCase{nullptr, ""}, CreationCase{"", ""},
                      CreationCase{"OnlyName,winspool", "OnlyName"},
                      CreationCase{"Bare name", "Bare name"},  // no comma: the whole value
                      CreationCase{",winspool,LPT1:", ""}));

// --- Version table --------------------------------------------------------

enum class Expected { kProfile, kSpooler, kNothing };

struct VersionCase {
  const char* name;
  VersionRecord version;
  Expected method;
};

class SwitcherVersionTable : public ::testing::TestWithParam<VersionCase> {};

TEST_P(SwitcherVersionTable, ChoosesTheMethodByVersion) {
  const VersionCase& c = GetParam();
  FakePrinterPlatform platform = PlatformWithLaserA(c.version);
  cSetDfltPrinter switcher(platform);

  const bool result = switcher.SetPrinterAsDefault("Laser A");

  EXPECT_EQ(result, c.method != Expected::kNothing);
  EXPECT_EQ(Called(platform, "write windows/Device=Laser A,winspool,LPT1:"),
            c.method == Expected::kProfile);
  EXPECT_EQ(Called(platform, "set5"), c.method == Expected::kSpooler);
  EXPECT_EQ(switcher.CurrentDevice(), c.method == Expected::kNothing ? "Old" : "Laser A");
}

INSTANTIATE_TEST_SUITE_P(
    Versions, SwitcherVersionTable,
    ::testing::Values(
        VersionCase{"Nt351Build1057", {3, 51, 1057, kPlatformWindowsNt}, Expected::kProfile},
        VersionCase{"Nt351OtherBuild", {3, 51, 1058, kPlatformWindowsNt}, Expected::kNothing},
        VersionCase{"Nt310", {3, 10, 511, kPlatformWindowsNt}, Expected::kNothing},
        VersionCase{"Version3On9x", {3, 51, 1057, kPlatformWindows9x}, Expected::kNothing},
        VersionCase{"Windows95", {4, 0, 950, kPlatformWindows9x}, Expected::kSpooler},
        VersionCase{"Windows98", kWindows98, Expected::kSpooler},
        VersionCase{"WindowsMe", {4, 90, 3000, kPlatformWindows9x}, Expected::kSpooler},
        VersionCase{"Nt40Build1381", {4, 0, 1381, kPlatformWindowsNt}, Expected::kProfile},
        VersionCase{"Nt40OtherBuild", {4, 0, 1380, kPlatformWindowsNt}, Expected::kNothing},
        VersionCase{"Version4OtherMinorOnNt", {4, 10, 1381, kPlatformWindowsNt}, Expected::kNothing},
        VersionCase{"Build1381On9xIsSpooler", {4, 0, 1381, kPlatformWindows9x}, Expected::kSpooler},
        VersionCase{"Windows2000", {5, 0, 2195, kPlatformWindowsNt}, Expected::kProfile},
        VersionCase{"Version5AnyPlatform", {5, 1, 0, 0}, Expected::kProfile},
        VersionCase{"Windows10", kWindows10, Expected::kProfile},
        VersionCase{"FailedQuery", {0, 0, 0, 0}, Expected::kNothing}),
    [](const auto& info) { return std::string(info.param.name); });

// --- Asking for the current default ---------------------------------------

TEST(SwitcherCurrentDevice, AskingForItTouchesOnlyTheVersion) {
  for (VersionRecord version : {kWindows10, kWindows98}) {
    FakePrinterPlatform platform = PlatformWithLaserA(version);
    cSetDfltPrinter switcher(platform);
    platform.calls.clear();
    EXPECT_TRUE(switcher.SetPrinterAsDefault("Old"));
    EXPECT_EQ(platform.calls, Calls{"version"});
  }
}

TEST(SwitcherCurrentDevice, AfterASwitchTheSamePrinterAgainTouchesOnlyTheVersion) {
  for (VersionRecord version : {kWindows10, kWindows98}) {
    FakePrinterPlatform platform = PlatformWithLaserA(version);
    cSetDfltPrinter switcher(platform);
    ASSERT_TRUE(switcher.SetPrinterAsDefault("Laser A"));
    platform.calls.clear();
    EXPECT_TRUE(switcher.SetPrinterAsDefault("Laser A"));
    EXPECT_EQ(platform.calls, Calls{"version"});
  }
}

TEST(SwitcherCurrentDevice, ComparisonIsCaseSensitive) {
  FakePrinterPlatform platform = PlatformWithLaserA(kWindows10);
  cSetDfltPrinter switcher(platform);
  EXPECT_FALSE(switcher.SetPrinterAsDefault("old"));  // no "PrinterPorts" entry for "old"
  EXPECT_TRUE(Called(platform, "get PrinterPorts/old 1024"));
}

TEST(SwitcherEmptyName, FailsWithoutPlatformCallsUnlessItIsTheCurrentDevice) {
  for (VersionRecord version : {kWindows10, kWindows98}) {
    FakePrinterPlatform platform = PlatformWithLaserA(version);
    cSetDfltPrinter switcher(platform);
    platform.calls.clear();
    EXPECT_FALSE(switcher.SetPrinterAsDefault(""));
    EXPECT_EQ(platform.calls, Calls{"version"});
    EXPECT_EQ(switcher.CurrentDevice(), "Old");
  }
  FakePrinterPlatform no_default;
  cSetDfltPrinter switcher(no_default);
  EXPECT_TRUE(switcher.SetPrinterAsDefault(""));
}

// --- Profile method -------------------------------------------------------

struct PrinterPortsCase {
  const char* value;  // nullptr: no entry for the printer
  bool switched;
};

class SwitcherProfileMethod : public ::testing::TestWithParam<PrinterPortsCase> {};

TEST_P(SwitcherProfileMethod, NeedsDriverAndPortBeforeWritingAndBroadcasting) {
  FakePrinterPlatform platform = PlatformWithLaserA(kWindows10);
  platform.profile.erase({"PrinterPorts", "Laser A"});
  if (GetParam().value) platform.profile[{"PrinterPorts", "Laser A"}] = GetParam().value;
  cSetDfltPrinter switcher(platform);
  platform.calls.clear();

  EXPECT_EQ(switcher.SetPrinterAsDefault("Laser A"), GetParam().switched);

  Calls expected{"version", "get PrinterPorts/Laser A 1024"};
  if (GetParam().switched) {
    expected.push_back("write windows/Device=Laser A,winspool,LPT1:");
    expected.push_back("broadcast windows");
  }
  EXPECT_EQ(platform.calls, expected);
  EXPECT_EQ(switcher.CurrentDevice(), GetParam().switched ? "Laser A" : "Old");
}

INSTANTIATE_TEST_SUITE_P(PrinterPortsValues, SwitcherProfileMethod,
                         ::testing::Values(PrinterPortsCase{"winspool,LPT1:,15,45", true},
                                           PrinterPortsCase{"winspool,LPT1:,", true},
                                           PrinterPortsCase{nullptr, false},
                                           PrinterPortsCase{"", false},
                                           PrinterPortsCase{"winspool", false},
                                           PrinterPortsCase{"winspool,LPT1:", false},
                                           PrinterPortsCase{",LPT1:,15,45", false},
                                           PrinterPortsCase{"winspool,,15,45", false}));

TEST(SwitcherProfileMethodWrite, RefusedWriteBroadcastsNothingAndKeepsTheCurrentDevice) {
  FakePrinterPlatform platform = PlatformWithLaserA(kWindows10);
  platform.refuse_profile_write = true;
  cSetDfltPrinter switcher(platform);
  EXPECT_FALSE(switcher.SetPrinterAsDefault("Laser A"));
  EXPECT_FALSE(Called(platform, "broadcast windows"));
  EXPECT_EQ(switcher.CurrentDevice(), "Old");
}

// --- Spooler method -------------------------------------------------------

TEST(SwitcherSpoolerMethod, AddsTheDefaultAttributeAndKeepsTheRestOfTheRecord) {
  FakePrinterPlatform platform = PlatformWithLaserA(kWindows98);
  cSetDfltPrinter switcher(platform);
  platform.calls.clear();

  EXPECT_TRUE(switcher.SetPrinterAsDefault("Laser A"));

  EXPECT_EQ(platform.calls, (Calls{"version", "open Laser A", "get5", "set5", "close Laser A"}));
  ASSERT_EQ(platform.records_set.size(), 1u);
  const PrinterInfo5& set = platform.records_set[0];
  EXPECT_EQ(set.printer_name, "Laser A");
  EXPECT_EQ(set.port_name, "LPT1:");
  EXPECT_EQ(set.attributes, 0x208u | kPrinterAttributeDefault);  // shared/queued bits kept
  EXPECT_EQ(set.device_not_selected_timeout, 15u);
  EXPECT_EQ(set.transmission_retry_timeout, 45u);
  EXPECT_EQ(switcher.CurrentDevice(), "Laser A");
  EXPECT_FALSE(Called(platform, "broadcast windows"));
}

struct SpoolerFailureCase {
  const char* name;
  bool installed, get_refused, set_refused;
  Calls expected_calls;
};

class SwitcherSpoolerFailure : public ::testing::TestWithParam<SpoolerFailureCase> {};

TEST_P(SwitcherSpoolerFailure, ChangesNothingAndClosesWhatItOpened) {
  const SpoolerFailureCase& c = GetParam();
  FakePrinterPlatform platform = PlatformWithLaserA(kWindows98);
  if (!c.installed) platform.spooler.clear();
  platform.refuse_get_info5 = c.get_refused;
  platform.refuse_set_info5 = c.set_refused;
  cSetDfltPrinter switcher(platform);
  platform.calls.clear();

  EXPECT_FALSE(switcher.SetPrinterAsDefault("Laser A"));
  EXPECT_EQ(platform.calls, c.expected_calls);
  EXPECT_TRUE(platform.records_set.empty());
  EXPECT_EQ(switcher.CurrentDevice(), "Old");
}

INSTANTIATE_TEST_SUITE_P(
    Failures, SwitcherSpoolerFailure,
    ::testing::Values(
        SpoolerFailureCase{"OpenRefused", false, false, false, {"version", "open Laser A"}},
        SpoolerFailureCase{"GetRefused", true, true, false,
                           {"version", "open Laser A", "get5", "close Laser A"}},
        SpoolerFailureCase{"SetRefused", true, false, true,
                           {"version", "open Laser A", "get5", "set5", "close Laser A"}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace orbin
