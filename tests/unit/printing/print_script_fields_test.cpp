#include <cmath>

#include <gtest/gtest.h>

#include "print_script_test_support.h"
#include "printing/print_script_number.h"

namespace orbin {
namespace {

using testing::CommandOperations;
using testing::Lines;

using FieldCase = testing::CommandCase;

class PrintScriptFieldTest : public ::testing::TestWithParam<FieldCase> {};

TEST_P(PrintScriptFieldTest, ReadsOperands) {
  EXPECT_EQ(CommandOperations(GetParam().commands), GetParam().expected)
      << ::testing::PrintToString(GetParam().commands);
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, PrintScriptFieldTest,
    ::testing::Values(
        FieldCase{{"Line", "100,200,300,400"}, {"line 100,200 400,600", "enddoc"}},
        FieldCase{{"Line", "100", "200", "300", "400"}, {"line 100,200 400,600", "enddoc"}},
        FieldCase{{"Line", "100,200", "300,400"}, {"line 100,200 400,600", "enddoc"}},
        FieldCase{{"Line", " 100 ,\t200\t, 300 ,400 "}, {"line 100,200 400,600", "enddoc"}},
        // An extra field is read as the next keyword line: skipped, unless
        // it begins with a keyword.
        FieldCase{{"Line", "100,200,300,400,500", "Size9"},
                  {"line 100,200 400,600", "font 9", "enddoc"}},
        FieldCase{{"Line", "100,200,300,400,Size9"}, {"line 100,200 400,600", "font 9", "enddoc"}},
        // The text operand is the rest of the line the fields stopped in.
        FieldCase{{"Print", "1,2, tail", "Print;x"}, {"text 1,2  tail", "text 501,2 x", "enddoc"}},
        FieldCase{{"Line", "1e2,2D2,+300,&H190"}, {"line 100,200 400,600", "enddoc"}}));

INSTANTIATE_TEST_SUITE_P(
    NumberKinds, PrintScriptFieldTest,
    ::testing::Values(
        // Coordinates keep their fractions; the fourth operand is whole,
        // halves to even.
        FieldCase{{"Line", "250.5,0,0,0"}, {"line 250.5,0 250.5,0", "enddoc"}},
        FieldCase{{"Line", "0,250.5,250.5,0"}, {"line 0,250.5 250.5,250.5", "enddoc"}},
        FieldCase{{"Line", "0,0,0,250.5"}, {"line 0,0 0,250", "enddoc"}},
        FieldCase{{"LineB", "0,0,0,251.5"}, {"box 0,0 0,252", "enddoc"}},
        FieldCase{{"LineBF", "0,0,0,-0.5"}, {"fill 0,0 0,0", "enddoc"}},
        FieldCase{{"Line", "0,0,0,32767"}, {"line 0,0 0,32767", "enddoc"}},
        FieldCase{{"Line", "0,0,0,-32768"}, {"line 0,0 0,-32768", "enddoc"}},
        FieldCase{{"Line", "0,0,40000,0"}, {"line 0,0 40000,0", "enddoc"}},
        FieldCase{{"Circle", "0.5,0.5,2.5"}, {"circle 0.5,0.5 2", "enddoc"}}));

struct NumberCase {
  const char* field;
  std::optional<double> value;
};

class FieldNumberTest : public ::testing::TestWithParam<NumberCase> {};

TEST_P(FieldNumberTest, AcceptsOnlyAWholeFieldNumber) {
  EXPECT_EQ(ParseFieldNumber(GetParam().field), GetParam().value) << GetParam().field;
}

INSTANTIATE_TEST_SUITE_P(
    Fields, FieldNumberTest,
    ::testing::Values(NumberCase{"12", 12}, NumberCase{"-12.25", -12.25},
                      NumberCase{"+7", 7}, NumberCase{".5", 0.5}, NumberCase{"5.", 5},
                      NumberCase{"1.5E3", 1500}, NumberCase{"25d-1", 2.5},
                      NumberCase{"&HFF", 255}, NumberCase{"&o17", 15},
                      NumberCase{"0.1", 0.1}, NumberCase{"-12.5D-1", -1.25},
                      NumberCase{"1234567890123456789", 1234567890123456789.0},
                      NumberCase{"0.1234567890123456789", 0.1234567890123456789},
                      NumberCase{"1.5e300", 1.5e300}, NumberCase{"1e-400", 0},
                      NumberCase{"", std::nullopt}, NumberCase{"abc", std::nullopt},
                      NumberCase{"\"100\"", std::nullopt}, NumberCase{"1 2", std::nullopt},
                      NumberCase{"12px", std::nullopt}, NumberCase{"1e", std::nullopt},
                      NumberCase{"-", std::nullopt}, NumberCase{".", std::nullopt},
                      NumberCase{"&H", std::nullopt}, NumberCase{"&O8", std::nullopt},
                      NumberCase{"inf", std::nullopt}, NumberCase{"nan", std::nullopt},
                      // Plain integers around the nine-digit one-pass reading.
                      NumberCase{"999999999", 999999999}, NumberCase{"-999999999", -999999999},
                      NumberCase{"1000000000", 1000000000}, NumberCase{"+", std::nullopt},
                      NumberCase{"12-", std::nullopt}, NumberCase{"0", 0}));

TEST(FieldNumber, BeyondTheDoubleRangeIsInfinite) {
  EXPECT_TRUE(std::isinf(*ParseFieldNumber("1e400")));
}

}  // namespace
}  // namespace orbin
