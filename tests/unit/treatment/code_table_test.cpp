#include <gtest/gtest.h>

#include "entry_rig.h"
#include "platform/codepage.h"
#include "treatment/code_table.h"
#include "treatment/site_entry.h"

namespace orbin {
namespace {

using testing::EntryRig;
using testing::FakeFileSystem;

// A table line: letter, flag at position 3, `before` filling positions 4 on
// (17 characters reach the code at 21), then the code field.
std::string Line(const std::string& letter, char flag, const std::string& code,
                 const std::string& before = std::string(17, ' ')) {
  return letter + " " + flag + before + code;
}

TEST(CodeTableLines, EndsLinesAtCrOrCrLf) {
  using Lines = std::vector<std::string>;
  EXPECT_EQ(CodeTableLines("a\r\nb\rc"), (Lines{"a", "b", "c"}));
  EXPECT_EQ(CodeTableLines("a\r\n"), (Lines{"a"}));
  EXPECT_EQ(CodeTableLines("\r\n\r\nd"), (Lines{"", "", "d"}));
  EXPECT_EQ(CodeTableLines("a\nb"), (Lines{"a\nb"}));
  EXPECT_EQ(CodeTableLines(""), Lines{});
}

// A description that ends in the first byte of a character (the table's
// editor cut it) costs that character only: the next line, its code and its
// per-tooth flag are all read.
TEST(CodeTable, ALineEndingInHalfACharacterKeepsTheNextLine) {
  FakeFileSystem files;
  files.files["treat.dat"] = ToAnsi("A 1 根管") + "\xa4\r\n" + ToAnsi(Line("B", ' ', "91001C")) +
                             "\r\n" + ToAnsi("D 0 說明") + "\xa4\r" + ToAnsi(Line("Q", '1', "")) +
                             "\r\n";
  EXPECT_EQ(CodeTableLines(files.files["treat.dat"]).size(), 4u);
  EXPECT_EQ(LookupTreatmentCode(files, "B"), "91001C;");
  EXPECT_EQ(LoadPerToothLetters(files), "ALPFZRAQ");
}

struct LookupCase {
  std::vector<std::string> lines;
  const char* letter;
  const char* code_field;
};

class LookupTest : public ::testing::TestWithParam<LookupCase> {};

TEST_P(LookupTest, FirstLineOfTheLetterGivesTheCode) {
  FakeFileSystem files;
  std::string table;
  for (const std::string& line : GetParam().lines) table += ToAnsi(line) + "\r\n";
  files.files["treat.dat"] = table;
  EXPECT_EQ(LookupTreatmentCode(files, GetParam().letter), GetParam().code_field);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, LookupTest,
    ::testing::Values(
        LookupCase{{Line("B", ' ', "89001C")}, "B", "89001C;"},
        LookupCase{{Line("B", ' ', "  89001C  xyz")}, "B", "89001C;"},
        LookupCase{{Line("B", ' ', "123456789")}, "B", "12345678;"},  // cut at 28
        LookupCase{{Line("D", ' ', "X"), Line("B", ' ', "Y")}, "B", "Y;"},
        LookupCase{{Line("B", ' ', ""), Line("B", ' ', "Y")}, "B", "-;"},  // first wins
        LookupCase{{Line("b", ' ', "Y")}, "B", "-;"},
        LookupCase{{"B 1 short"}, "B", "-;"},
        // Positions count characters: each Chinese character is one.
        LookupCase{{Line("B", ' ', "92013C", "補綴治療" + std::string(13, ' '))}, "B", "92013C;"},
        LookupCase{{Line("B", ' ', "診療")}, "B", "診療;"}));

TEST(Lookup, NoTableGivesDash) {
  FakeFileSystem files;
  EXPECT_EQ(LookupTreatmentCode(files, "B"), "-;");
}

TEST(PerToothLetters, TableAddsFlaggedLettersInOrder) {
  FakeFileSystem files;
  EXPECT_EQ(LoadPerToothLetters(files), "ALPFZR");
  files.files["treat.dat"] = "Q 1\rD 0\r\nB 1xx\r\nC\r\n";
  EXPECT_EQ(LoadPerToothLetters(files), "ALPFZRQB");
}

TEST(ClaimDate, TaiwaneseYearWithThreeDigits) {
  EXPECT_EQ(ClaimDateField({2010, 1, 2}), "0990102");
  EXPECT_EQ(ClaimDateField({2011, 12, 31}), "1001231");
  EXPECT_EQ(ClaimDateField({2026, 12, 7}), "1151207");
  EXPECT_EQ(ClaimDateField({1912, 3, 4}), "0010304");
}

struct TableEntryCase {
  const char* keys;
  const char* result;
};

class TableEntryTest : public ::testing::TestWithParam<TableEntryCase> {};

TEST_P(TableEntryTest, TableDrivesCodesAndPerToothLetters) {
  EntryRig rig;
  rig.files.files["treat.dat"] =
      ToAnsi(Line("B", ' ', " 89001C ") + "\r\n" + Line("D", '1', "91004C") + "\r\n" +
             Line("R", ' ', "90015C"));
  rig.clock.now = {2010, 5, 6};
  rig.Load();
  rig.Type(GetParam().keys);
  EXPECT_EQ(rig.ResultFile(), std::string(GetParam().result) + "\r\n");
}

INSTANTIATE_TEST_SUITE_P(
    Items, TableEntryTest,
    ::testing::Values(TableEntryCase{"11B", "IC;11B;89001C;"},
                      TableEntryCase{"11D2", "IC;11D;91004C;D2;"},
                      TableEntryCase{"11C", "IC;11C;-;"},
                      TableEntryCase{"11R2", "IC;11R;90015C;R2;0990506;"}));

}  // namespace
}  // namespace orbin
