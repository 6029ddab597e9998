#include "printing/printer_list_file.h"

#include <gtest/gtest.h>

#include "common/failure.h"
#include "fakes/fake_platform.h"

namespace orbin {
namespace {

struct ListCase {
  const char* name;
  std::string default_printer;
  std::vector<std::string> printers;
  std::string bytes;
};

class PrinterListFile : public ::testing::TestWithParam<ListCase> {};

TEST_P(PrinterListFile, DefaultFirstThenEveryPrinterInOrder) {
  testing::FakeFileSystem files;
  WritePrinterListFile(files, GetParam().default_printer, GetParam().printers);
  EXPECT_EQ(files.files.at("Printers.txt"), GetParam().bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Lists, PrinterListFile,
    ::testing::Values(
        ListCase{"DefaultTwice", "Laser B", {"Laser A", "Laser B"},
                 "Laser B\r\nLaser A\r\nLaser B\r\n"},
        ListCase{"NoPrinters", "", {}, "\r\n"},
        // Code page 950: 診 = B6 45, 所 = A9 D2.
        ListCase{"AnsiCodePage", "診所", {"診所"}, "\xB6\x45\xA9\xD2\r\n\xB6\x45\xA9\xD2\r\n"},
        ListCase{"BlanksKept", " P ", {" P "}, " P \r\n P \r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PrinterListFileWrite, AFailedWriteLeavesTheOldFileAndFails) {
  testing::FakeFileSystem files;
  files.files["Printers.txt"] = "old\r\n";
  files.fail_writes = true;
  EXPECT_THROW(WritePrinterListFile(files, "A", {"A"}), Failure);
  EXPECT_EQ(files.files.at("Printers.txt"), "old\r\n");
}

}  // namespace
}  // namespace orbin
