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
                    "print2vb 第 6 行（LineB）：第四個欄位必須是 -32768 到 32767 的整數，"
                    "讀到的是「32768」。"},
        FailureCase{CommandScript({"Circle", "1,2,-32769"}),
                    "print2vb 第 4 行（Circle）：第三個欄位必須是 -32768 到 32767 的整數，"
                    "讀到的是「-32769」。"},
        FailureCase{CommandScript({"Print", "abc,720", "text"}),
                    "print2vb 第 4 行（Print）：第一個欄位必須是單精度範圍內的數字，讀到的是「abc」。"},
        FailureCase{CommandScript({"PrintL", "1,\"2\",3", "text"}),
                    "print2vb 第 4 行（PrintL）：第二個欄位必須是單精度範圍內的數字，"
                    "讀到的是「\"2\"」。"},
        FailureCase{CommandScript({"Line-", "100 200"}),
                    "print2vb 第 4 行（Line-）：第一個欄位必須是單精度範圍內的數字，"
                    "讀到的是「100 200」。"},
        FailureCase{CommandScript({"Line", ",2,3,4"}),
                    "print2vb 第 4 行（Line）：第一個欄位必須是單精度範圍內的數字，讀到的是空白欄位。"},
        FailureCase{CommandScript({"LineBF", "1", "2", "1e39", "4"}),
                    "print2vb 第 6 行（LineBF）：第三個欄位必須是單精度範圍內的數字，"
                    "讀到的是「1e39」。"},
        FailureCase{CommandScript({"Line", "1,2"}),
                    "print2vb 第 5 行（Line）：第三個欄位必須是單精度範圍內的數字，讀到的是腳本結尾。"},
        FailureCase{CommandScript({"Print", "1,2"}),
                    "print2vb 第 5 行（Print）：後面必須有一行文字，讀到的是腳本結尾。"},
        FailureCase{CommandScript({"PrintL", "0,0,300", LongText()}),
                    "print2vb 第 5 行（PrintL）：底線長度必須是 -32768 到 32767 twips 的整數，"
                    "讀到的是「40000」。"},
        FailureCase{CommandScript({"Size1e39"}),
                    "print2vb 第 3 行（Size）：字型大小必須是單精度範圍內的數字，讀到的是「1e+39」。"},
        FailureCase{CommandScript({"Print;drawn", "Size0"}),
                    "print2vb 第 4 行（Size）：The printer cannot use a font size of 0.000000"},
        FailureCase{ScriptOf({"40000", "0"}),
                    "print2vb 第 1 行（列印品質）：列印品質最多是每英吋 32767 點，讀到的是「40000」。"}));

// A value quoted in a message shows its first 40 characters and "…": a
// field a million characters long must not fill the error box.
std::string Nines(std::size_t n) { return std::string(n, '9'); }
std::string Chinese(std::size_t n) {
  std::string text;
  for (std::size_t i = 0; i < n; ++i) text += "\xb6\x45";  // 診 in code page 950
  return text;
}
std::string ChineseUtf8(std::size_t n) {
  std::string text;
  for (std::size_t i = 0; i < n; ++i) text += "診";
  return text;
}

INSTANTIATE_TEST_SUITE_P(
    LongValues, PrintScriptFailureTest,
    ::testing::Values(
        FailureCase{CommandScript({"Line", Nines(1000000) + ",2,3,4"}),
                    "print2vb 第 4 行（Line）：第一個欄位必須是單精度範圍內的數字，讀到的是「" +
                        Nines(40) + "…」。"},
        FailureCase{CommandScript({"Circle", "1,2," + std::string(1000000, 'x')}),
                    "print2vb 第 4 行（Circle）：第三個欄位必須是 -32768 到 32767 的整數，讀到的是「" +
                        std::string(40, 'x') + "…」。"},
        // Forty characters stand whole; Chinese ones are cut as characters.
        FailureCase{CommandScript({"Print", std::string(40, 'x') + ",2", "t"}),
                    "print2vb 第 4 行（Print）：第一個欄位必須是單精度範圍內的數字，讀到的是「" +
                        std::string(40, 'x') + "」。"},
        FailureCase{CommandScript({"Print", Chinese(41) + ",2", "t"}),
                    "print2vb 第 4 行（Print）：第一個欄位必須是單精度範圍內的數字，讀到的是「" +
                        ChineseUtf8(40) + "…」。"},
        FailureCase{ScriptOf({Nines(100000) + "x", "0"}),
                    "print2vb 第 1 行（列印品質）：溢位：數字太大：「" + Nines(40) + "…」"},
        FailureCase{ScriptOf({"1e9", "0"}),
                    "print2vb 第 1 行（列印品質）：列印品質最多是每英吋 32767 點，讀到的是「1e9」。"},
        FailureCase{CommandScript({"Size" + Nines(500)}),
                    "print2vb 第 3 行（Size）：溢位：數字太大：「" + Nines(40) + "…」"}));

}  // namespace
}  // namespace orbin
