#include <string>

#include <gtest/gtest.h>

#include "common/failure.h"
#include "print_script_test_support.h"

namespace orbin {
namespace {

using testing::CommandScript;
using testing::Lines;
using testing::RecordingSurface;
using testing::ScriptOf;

// A printer that refuses font sizes of zero and below.
class FussyPrinter : public RecordingSurface {
 public:
  void SetFontSize(float points) override {
    if (points <= 0) throw Failure("The printer cannot use a font size of " + std::to_string(points));
    RecordingSurface::SetFontSize(points);
  }
};

struct FailureCase {
  std::string script;
  std::string message;
};

class PrintScriptFailureTest : public ::testing::TestWithParam<FailureCase> {};

TEST_P(PrintScriptFailureTest, AbortsTheDocumentAndNamesTheLine) {
  FussyPrinter printer;
  try {
    RunPrintScript(GetParam().script, printer);
    FAIL() << "no failure for " << GetParam().script;
  } catch (const Failure& failure) {
    EXPECT_EQ(std::string(failure.what()), GetParam().message);
  }
  EXPECT_EQ(printer.operations.back(), "abortdoc");
  for (const std::string& operation : printer.operations) EXPECT_NE(operation, "enddoc");
}

std::string LongText() { return std::string(400, 'x'); }  // 40000 twips wide

INSTANTIATE_TEST_SUITE_P(
    Faults, PrintScriptFailureTest,
    ::testing::Values(
        FailureCase{CommandScript({"Print;drawn", "LineB", "1,2,3", "32768"}),
                    "print2vb line 6 (LineB): the fourth field must be a whole number from -32768 "
                    "to 32767, found 32768."},
        FailureCase{CommandScript({"Circle", "1,2,-32769"}),
                    "print2vb line 4 (Circle): the third field must be a whole number from -32768 "
                    "to 32767, found -32769."},
        FailureCase{CommandScript({"Print", "abc,720", "text"}),
                    "print2vb line 4 (Print): the first field must be a number in the "
                    "single-precision range, found abc."},
        FailureCase{CommandScript({"PrintL", "1,\"2\",3", "text"}),
                    "print2vb line 4 (PrintL): the second field must be a number in the "
                    "single-precision range, found \"2\"."},
        FailureCase{CommandScript({"Line-", "100 200"}),
                    "print2vb line 4 (Line-): the first field must be a number in the "
                    "single-precision range, found 100 200."},
        FailureCase{CommandScript({"Line", ",2,3,4"}),
                    "print2vb line 4 (Line): the first field must be a number in the "
                    "single-precision range, found an empty field."},
        FailureCase{CommandScript({"LineBF", "1", "2", "1e39", "4"}),
                    "print2vb line 6 (LineBF): the third field must be a number in the "
                    "single-precision range, found 1e39."},
        FailureCase{CommandScript({"Line", "1,2"}),
                    "print2vb line 5 (Line): the third field must be a number in the "
                    "single-precision range, found the end of the script."},
        FailureCase{CommandScript({"Print", "1,2"}),
                    "print2vb line 5 (Print): a text line must follow, found the end of the "
                    "script."},
        FailureCase{CommandScript({"PrintL", "0,0,300", LongText()}),
                    "print2vb line 5 (PrintL): the underline length must be a whole number from "
                    "-32768 to 32767 twips, found 40000."},
        FailureCase{CommandScript({"Size1e39"}),
                    "print2vb line 3 (Size): the font size must be a number in the "
                    "single-precision range, found 1e+39."},
        FailureCase{CommandScript({"Print;drawn", "Size0"}),
                    "print2vb line 4 (Size): The printer cannot use a font size of 0.000000"},
        FailureCase{ScriptOf({"40000", "0"}),
                    "print2vb line 1 (print quality): the print quality must be at most 32767 "
                    "dots per inch, found 40000."}));

}  // namespace
}  // namespace orbin
