#include "startup/dispatch.h"

#include <gtest/gtest.h>

namespace orbin {
namespace {

struct DispatchCase {
  const char* args;
  const char* exe;
  Job job;
};

class DispatchTest : public ::testing::TestWithParam<DispatchCase> {};

TEST_P(DispatchTest, FirstMatchingSwitchWins) {
  EXPECT_EQ(SelectJob(GetParam().args, GetParam().exe), GetParam().job)
      << "args: " << GetParam().args << " exe: " << GetParam().exe;
}

INSTANTIATE_TEST_SUITE_P(
    Switches, DispatchTest,
    ::testing::Values(
        DispatchCase{"/Print/", "orbin", Job::kPicturePrint},
        DispatchCase{"/Print//01//03/", "orbin", Job::kPicturePrint},
        DispatchCase{"/HH/", "orbin", Job::kPrintTextFile},
        DispatchCase{"/VV/", "orbin", Job::kPortrait},
        DispatchCase{"/Printer/", "orbin", Job::kPrinter},
        DispatchCase{"/Printer/Laser A", "orbin", Job::kPrinter},
        DispatchCase{"/Printers/", "orbin", Job::kPrinterList},
        DispatchCase{"/Print2VB/", "orbin", Job::kPrintScript},
        DispatchCase{"/show", "orbin", Job::kOfficeInfo},
        DispatchCase{"/show10/", "orbin", Job::kOfficeInfo},
        DispatchCase{"/L1200/T300", "orbin", Job::kTreatmentEntry},
        DispatchCase{"memfrm", "orbin", Job::kStatusMonitor},
        DispatchCase{"xxmemfrmxx", "orbin", Job::kStatusMonitor},
        DispatchCase{"/ReadF4", "orbin", Job::kReaderAuthentication},
        DispatchCase{"/ReadF4/COM2/", "orbin", Job::kReaderAuthentication},
        DispatchCase{"", "orbin", Job::kOfficeInfo},
        // Two switches: the earlier row decides.
        DispatchCase{"/Printers/ /Print/", "orbin", Job::kPicturePrint},
        DispatchCase{"/L /show", "orbin", Job::kOfficeInfo},
        DispatchCase{"/HH/ /VV/", "orbin", Job::kPrintTextFile},
        DispatchCase{"/ReadF4 /L", "orbin", Job::kTreatmentEntry},
        DispatchCase{"memfrm /ReadF4", "orbin", Job::kStatusMonitor},
        // Near misses.
        DispatchCase{"/Print2VB/", "orbin", Job::kPrintScript},  // not row 1
        DispatchCase{"/print/", "orbin", Job::kOfficeInfo},      // letter case
        DispatchCase{"/hh/", "orbin", Job::kOfficeInfo},
        DispatchCase{"/Printers", "orbin", Job::kOfficeInfo},
        DispatchCase{"/Show", "orbin", Job::kOfficeInfo},
        DispatchCase{"/l", "orbin", Job::kOfficeInfo},
        DispatchCase{"MEMFRM", "orbin", Job::kOfficeInfo},
        DispatchCase{"/readf4", "orbin", Job::kOfficeInfo},
        DispatchCase{"/COM2/", "orbin", Job::kOfficeInfo},
        DispatchCase{"/csOpenCom2", "orbin", Job::kOfficeInfo},
        // The executable named chg2eng runs the reader job, exactly that name.
        DispatchCase{"", "chg2eng", Job::kReaderAuthentication},
        DispatchCase{"/COM2/", "chg2eng", Job::kReaderAuthentication},
        DispatchCase{"", "Chg2eng", Job::kOfficeInfo},
        DispatchCase{"", "CHG2ENG", Job::kOfficeInfo},
        DispatchCase{"/L", "chg2eng", Job::kTreatmentEntry}));

TEST(PrinterNameArgument, TakesEverythingAfterTheFirstSwitch) {
  EXPECT_EQ(PrinterNameArgument("/Printer/"), "");
  EXPECT_EQ(PrinterNameArgument("/Printer/Laser A"), "Laser A");
  EXPECT_EQ(PrinterNameArgument("/Printer/Laser A  "), "Laser A  ");
  EXPECT_EQ(PrinterNameArgument("/Printer/PDF /show"), "PDF /show");
  EXPECT_EQ(PrinterNameArgument("x/Printer/A/Printer/B"), "A/Printer/B");
}

TEST(MakeStartDir, AddsExactlyOneBackslash) {
  EXPECT_EQ(MakeStartDir("C:\\"), "C:\\");
  EXPECT_EQ(MakeStartDir("C:\\vexa"), "C:\\vexa\\");
  EXPECT_EQ(MakeStartDir("Z:\\tmp\\run"), "Z:\\tmp\\run\\");
  EXPECT_EQ(MakeStartDir("\\\\server\\share\\"), "\\\\server\\share\\");
}

TEST(ArgumentText, FollowsTheProgramPath) {
  EXPECT_EQ(ArgumentText("orbin.exe /HH/"), "/HH/");
  EXPECT_EQ(ArgumentText("\"C:\\Program Files\\orbin.exe\" /Printer/Laser A "), "/Printer/Laser A ");
  EXPECT_EQ(ArgumentText("\"C:\\a b\\orbin.exe\""), "");
  EXPECT_EQ(ArgumentText("orbin.exe"), "");
  EXPECT_EQ(ArgumentText("orbin.exe    /L1200"), "/L1200");
}

TEST(ExecutableBaseName, DropsFolderAndExtension) {
  EXPECT_EQ(ExecutableBaseName("C:\\backup\\chg2eng.exe"), "chg2eng");
  EXPECT_EQ(ExecutableBaseName("Z:\\a.b\\orbin.exe"), "orbin");
  EXPECT_EQ(ExecutableBaseName("orbin"), "orbin");
}

}  // namespace
}  // namespace orbin
