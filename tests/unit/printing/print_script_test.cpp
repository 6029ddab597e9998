#include "printing/print_script.h"

#include <gtest/gtest.h>

#include "common/failure.h"
#include "fakes/fake_platform.h"
#include "print_script_test_support.h"

namespace orbin {
namespace {

using testing::CommandCase;
using testing::CommandOperations;
using testing::Lines;
using testing::RecordingSurface;
using testing::ScriptOf;

TEST(PrintScript, WorkedExample) {
  RecordingSurface printer;
  RunPrintScript(ScriptOf({"3", "0", "Size10", "Print", "1440,1440", "Patient record", "LineB",
                           "1000,1000,5000", "2000", "New", "End", "Print;never"}),
                 printer);
  EXPECT_EQ(printer.operations,
            (Lines{"quality -3", "orientation 1", "font 8", "text 0,0  ", "font 12", "font 10",
                   "text 1440,1440 Patient record", "box 1000,1000 6000,3000", "newpage",
                   "enddoc"}));
  EXPECT_EQ(printer.pages_with_drawing, 1);  // "New" then "End" leaves no blank page
}

TEST(PrintScript, EmptyScriptStillPrintsTheOpeningSpace) {
  RecordingSurface printer;
  RunPrintScript("", printer);
  EXPECT_EQ(printer.operations, (Lines{"font 8", "text 0,0  ", "font 12", "enddoc"}));
}

struct HeaderCase {
  std::string script;
  Lines expected;  // operations before the opening space
};

class PrintScriptHeaderTest : public ::testing::TestWithParam<HeaderCase> {};

TEST_P(PrintScriptHeaderTest, SetsQualityAndOrientation) {
  RecordingSurface printer;
  RunPrintScript(GetParam().script, printer);
  Lines before_opening(printer.operations.begin(), printer.operations.end() - 4);
  EXPECT_EQ(before_opening, GetParam().expected) << GetParam().script;
}

INSTANTIATE_TEST_SUITE_P(
    Headers, PrintScriptHeaderTest,
    ::testing::Values(
        HeaderCase{"1\r\n0\r\n", {"quality -1", "orientation 1"}},
        HeaderCase{"-1\r\n0\r\n", {"quality -1", "orientation 1"}},
        HeaderCase{"-2\r\n0\r\n", {"quality -2", "orientation 1"}},
        HeaderCase{"3\r\n0\r\n", {"quality -3", "orientation 1"}},
        HeaderCase{"4\r\n0\r\n", {"quality -4", "orientation 1"}},
        HeaderCase{"-4\r\n0\r\n", {"quality -4", "orientation 1"}},
        HeaderCase{"2.5\r\n0\r\n", {"orientation 1"}},
        HeaderCase{"0\r\n0\r\n", {"orientation 1"}},
        HeaderCase{"-5\r\n0\r\n", {"orientation 1"}},
        HeaderCase{"300\r\n0\r\n", {"quality 300", "orientation 1"}},
        HeaderCase{"4.5\r\n0\r\n", {"quality 4", "orientation 1"}},  // halves to even
        HeaderCase{"5.5\r\n0\r\n", {"quality 6", "orientation 1"}},
        HeaderCase{" 3\r\n0\r\n", {"quality -3", "orientation 1"}},
        HeaderCase{"abc\r\n0\r\n", {"orientation 1"}},
        HeaderCase{"&H12C\r\n0\r\n", {"quality 300", "orientation 1"}},
        HeaderCase{"3\r\n1\r\n", {"quality -3", "orientation 2"}},
        HeaderCase{"3\r\n 1.0\r\n", {"quality -3", "orientation 2"}},
        HeaderCase{"3\r\n2\r\n", {"quality -3", "orientation 1"}},
        HeaderCase{"3\r\n\r\n", {"quality -3", "orientation 1"}},
        HeaderCase{"3\r\nlandscape\r\n", {"quality -3", "orientation 1"}},
        HeaderCase{"3\r1", {"quality -3", "orientation 2"}},  // CR alone ends a line
        // One line: the orientation is left as it is.
        HeaderCase{"3\r\n", {"quality -3"}},
        HeaderCase{"3", {"quality -3"}}));

class PrintScriptCommandTest : public ::testing::TestWithParam<CommandCase> {};

TEST_P(PrintScriptCommandTest, Draws) {
  EXPECT_EQ(CommandOperations(GetParam().commands), GetParam().expected)
      << ::testing::PrintToString(GetParam().commands);
}

INSTANTIATE_TEST_SUITE_P(
    KeywordPrefixes, PrintScriptCommandTest,
    ::testing::Values(
        CommandCase{{"Endless", "Size9"}, {"enddoc"}},
        CommandCase{{"Sizes10"}, {"font 10", "enddoc"}},
        CommandCase{{"Size12"}, {"font 12", "enddoc"}},
        CommandCase{{"Size 12"}, {"font 12", "enddoc"}},
        CommandCase{{"Size12pt"}, {"font 12", "enddoc"}},
        CommandCase{{"LineX", "100", "200", "300", "400"}, {"line 100,200 400,600", "enddoc"}},
        // The keyword line's own text is not read as fields.
        CommandCase{{"Line 1,2,3,4", "100", "200", "300", "400"},
                    {"line 100,200 400,600", "enddoc"}},
        CommandCase{{"Line -", "100", "200", "300", "400"}, {"line 100,200 400,600", "enddoc"}},
        CommandCase{{"Line-", "0", "500"}, {"line 100,0 100,500", "enddoc"}},
        CommandCase{{"LineB", "100", "200", "1000", "500"}, {"box 100,200 1100,700", "enddoc"}},
        CommandCase{{"LineBF", "100", "200", "1000", "500"}, {"fill 100,200 1100,700", "enddoc"}},
        CommandCase{{"Circle", "500", "600", "250"}, {"circle 500,600 250", "enddoc"}},
        CommandCase{{"Print something", "1440", "720", "ABC"}, {"text 1440,720 ABC", "enddoc"}},
        CommandCase{{"Newline"}, {"newpage", "enddoc"}},
        // Not keywords: other letter case, a leading blank, empty or other lines.
        CommandCase{{"end", "END", " End", "size9", "new", "", "Pri", "Lin"}, {"enddoc"}}));

INSTANTIATE_TEST_SUITE_P(
    Sequences, PrintScriptCommandTest,
    ::testing::Values(
        CommandCase{{"Print", "1440,720", "ABC", "Print;DEF"},
                    {"text 1440,720 ABC", "text 1740,720 DEF", "enddoc"}},
        // The underline spans the text at the absolute height u; "Print;"
        // then continues from the underline's end.
        CommandCase{{"PrintL", "1440,720,900", "ABC", "Print;x"},
                    {"text 1440,720 ABC", "line 1440,900 1740,900", "text 1740,900 x", "enddoc"}},
        CommandCase{{"Print;  x"}, {"text 100,0   x", "enddoc"}},
        CommandCase{{"Print;"}, {"text 100,0 ", "enddoc"}},
        CommandCase{{"LineB", "100,200,1000,500", "Line-", "0,500"},
                    {"box 100,200 1100,700", "line 1100,700 1100,1200", "enddoc"}},
        CommandCase{{"Circle", "500,600,50", "Print;c"},
                    {"circle 500,600 50", "text 500,600 c", "enddoc"}},
        CommandCase{{"Print;a", "New", "Print;b"},
                    {"text 100,0 a", "newpage", "text 0,0 b", "enddoc"}},
        // Text in the code page is printed as the characters it stands for.
        CommandCase{{"Print", "0,0", "\xb6\x45\xa9\xd2"}, {"text 0,0 診所", "enddoc"}},
        CommandCase{{"Print;\xb6\x45\xa9\xd2"}, {"text 100,0 診所", "enddoc"}},
        // A line ending in half a character keeps its line end: the next
        // line is still a line of its own.
        CommandCase{{"Print", "0,0", "\xb6\x45\xa4", "Print;B\xa4", "Print;C", "End"},
                    {"text 0,0 診?", "text 200,0 B?", "text 400,0 C", "enddoc"}}));

TEST(PrintScript, EndsTheDocumentAtTheEndOfAScriptWithoutEnd) {
  RecordingSurface printer;
  RunPrintScript(ScriptOf({"3", "0", "Print;a"}), printer);
  EXPECT_EQ(printer.operations.back(), "enddoc");
  EXPECT_EQ(printer.pages_with_drawing, 1);
}

TEST(PrintScriptFile, ReadsPrint2vbFromTheWorkingDirectory) {
  testing::FakeFileSystem files;
  files.files["print2vb"] = ScriptOf({"3", "1", "End"});
  RecordingSurface printer;
  RunPrintScriptFile(files, printer);
  EXPECT_EQ(printer.operations.front(), "quality -3");
  EXPECT_EQ(printer.operations.back(), "enddoc");

  files.files["print2vb"] = ScriptOf({"40000", "0"});
  try {
    RunPrintScriptFile(files, printer);
    FAIL();
  } catch (const Failure& failure) {  // named by its full path
    EXPECT_TRUE(std::string(failure.what()).starts_with("C:\\work\\print2vb 第 1 行"));
  }

  files.files.clear();
  RecordingSurface untouched;
  EXPECT_THROW(RunPrintScriptFile(files, untouched), Failure);
  EXPECT_TRUE(untouched.operations.empty());
}

}  // namespace
}  // namespace orbin
