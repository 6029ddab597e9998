#include "officeinfo/installation_facts.h"

#include <gtest/gtest.h>

#include "fakes/fake_platform.h"

namespace orbin {
namespace {

using testing::FakeFileSystem;

TEST(InstallationDirectory, FallsBackToTheCurrentDirectory) {
  struct Case {
    const char *setting, *current;
    std::vector<std::string> present;
    const char* expected;
  };
  const Case cases[] = {
      {"c:\\vexa\\", "C:\\work", {"c:\\vexa\\orbin.exe", "C:\\work\\orbin.exe"}, "c:\\vexa\\"},
      {"d:\\vexa", "d:\\vexa", {"d:\\vexa\\orbin.exe"}, "d:\\vexa\\"},  // no backslash: not found
      {"c:\\vexa\\", "C:\\", {"C:\\orbin.exe"}, "C:\\"},
      {"d:\\vexa", "C:\\work", {}, "d:\\vexa"}};
  for (const Case& c : cases) {
    FakeFileSystem files;
    files.current_directory = c.current;
    for (const std::string& path : c.present) files.files[path] = "MZ";
    EXPECT_EQ(InstallationDirectory(c.setting, files), c.expected) << c.setting << " " << c.current;
  }
}

TEST(MainProgramName, TakesTheRestAfterVexa) {
  const std::pair<const char*, const char*> cases[] = {
      {"", "vexa.exe"}, {"/vexa", "vexa.exe"}, {"/show/vexa2", "vexa2.exe"},
      {"/vexa2 /show10/", "vexa2 /show10/.exe"}, {"/Vexa2", "vexa.exe"}};
  for (auto [args, expected] : cases) EXPECT_EQ(MainProgramName(args), expected) << args;
}

TEST(FileDateText, TaiwaneseYearWithoutLeadingZeros) {
  EXPECT_EQ(FileDateText({2005, 3, 17, 9, 5, 7}, {}), "94/3/17 9:5:7");
  EXPECT_EQ(FileDateText({2026, 12, 31, 23, 59, 0}, {}), "115/12/31 23:59:0");
  EXPECT_EQ(FileDateText({2005, 3, 17, 9, 5, 7}, {"-", "."}), "94-3-17 9.5.7");
}

// A first line with `month` at bytes 26-27 and `year` at bytes 32-33.
std::string Monthly(const std::string& month, const std::string& year, std::string lead = "") {
  return lead + std::string(25 - lead.size(), 'x') + month + "yyyy" + year + "zz\r\nline 2\r\n";
}

struct MonthlyCase {
  const char* name;
  std::vector<std::pair<std::string, std::string>> files;  // name in c:\vexa\, bytes
  std::optional<std::string> expected;
};

class MonthlyFileTest : public ::testing::TestWithParam<MonthlyCase> {};

TEST_P(MonthlyFileTest, NewestLongEnoughFile) {
  FakeFileSystem files;
  for (const auto& [name, bytes] : GetParam().files) files.files["c:\\vexa\\" + name] = bytes;
  EXPECT_EQ(NewestMonthlyFileText("c:\\vexa\\", files), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Files, MonthlyFileTest,
    ::testing::Values(
        MonthlyCase{"NewestWins", {{"mth150", Monthly("01", "01")}, {"mth999", Monthly("12", "04")}},
                    "mth999 (93年12月)"},
        MonthlyCase{"ExactlyTwentyBytesSkipped",
                    {{"mth200", std::string(20, '1')}, {"mth100", Monthly("03", "05")}}, "mth100 (94年03月)"},
        MonthlyCase{"NonNumericYearGives89", {{"mth300", Monthly("03", "ab")}}, "mth300 (89年03月)"},
        MonthlyCase{"FractionYear", {{"mth300", Monthly("03", ".5")}}, "mth300 (89.5年03月)"},
        // Only the first line counts, padded when it ends inside a field.
        MonthlyCase{"ShortFirstLine", {{"mth400", std::string(25, 'x') + "1\r\n" + std::string(40, '5')}},
                    "mth400 (89年1 月)"},
        MonthlyCase{"LineFeedEnd", {{"mth400", "abc\n" + std::string(40, '5')}}, "mth400 (89年月)"},
        // Positions count code-page bytes: a Chinese character takes two.
        MonthlyCase{"DoubleByteLead", {{"mth500", Monthly("06", "08", "\xb6\x45\xa9\xd2")}}, "mth500 (97年06月)"},
        // Half a character (a lead byte, then a blank) still counts as its
        // bytes; a first line ending in one keeps its line end.
        MonthlyCase{"HalfCharacterBeforeTheFields", {{"mth500", Monthly("06", "08", "\xa4 ")}},
                    "mth500 (97年06月)"},
        MonthlyCase{"FirstLineEndsInHalfACharacter",
                    {{"mth500", std::string(25, 'x') + "1\xa4\r\n" + std::string(40, '5')}},
                    "mth500 (89年1?月)"},
        MonthlyCase{"NoneQualifies", {{"mth099", Monthly("03", "05")}, {"mth1000", Monthly("03", "05")}}, std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MonthlyFile, UnreadableNewestFileShowsNoLine) {
  struct Locking : FakeFileSystem {
    std::string ReadAll(const std::string& path) override {
      if (path.ends_with("mth999")) throw Failure("Cannot open \"" + path + "\": sharing violation");
      return FakeFileSystem::ReadAll(path);
    }
  } files;
  files.files["c:\\vexa\\mth999"] = files.files["c:\\vexa\\mth150"] = Monthly("03", "05");
  EXPECT_EQ(NewestMonthlyFileText("c:\\vexa\\", files), std::nullopt);
}

}  // namespace
}  // namespace orbin
