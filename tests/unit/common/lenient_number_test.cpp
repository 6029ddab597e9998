#include "common/lenient_number.h"

#include <gtest/gtest.h>

#include "common/failure.h"

namespace orbin {
namespace {

struct NumberCase {
  const char* text;
  double value;
};

class LenientNumberTest : public ::testing::TestWithParam<NumberCase> {};

TEST_P(LenientNumberTest, ReadsLeadingNumber) {
  EXPECT_DOUBLE_EQ(ReadLenientNumber(GetParam().text), GetParam().value) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Forms, LenientNumberTest,
    ::testing::Values(NumberCase{"&H1F", 31}, NumberCase{"&h1f", 31}, NumberCase{"&O17", 15},
                      NumberCase{"&o17", 15}, NumberCase{"&H", 0}, NumberCase{"&X", 0},
                      NumberCase{"1D3", 1000}, NumberCase{"1d3", 1000}, NumberCase{"1E3", 1000},
                      NumberCase{"2.5e-1", 0.25}, NumberCase{"1E", 1}, NumberCase{"1E+", 1},
                      NumberCase{" - 12 abc", -12}, NumberCase{"", 0}, NumberCase{"abc", 0},
                      NumberCase{"4.5", 4.5}, NumberCase{"2.5", 2.5}, NumberCase{".5", 0.5},
                      NumberCase{"-.5", -0.5}, NumberCase{"+7", 7}, NumberCase{"-", 0},
                      NumberCase{".", 0}, NumberCase{"1 2\t3\n4", 1234}, NumberCase{"12pt", 12},
                      NumberCase{"1.2.3", 1.2}, NumberCase{"--1", 0}, NumberCase{"\r5", 0},
                      NumberCase{" 3", 3}, NumberCase{"32767.4", 32767.4}));

struct RoundCase {
  double value;
  int expected;
};

class RoundToInt16Test : public ::testing::TestWithParam<RoundCase> {};

TEST_P(RoundToInt16Test, RoundsHalvesToEven) {
  EXPECT_EQ(RoundToInt16(GetParam().value), GetParam().expected) << GetParam().value;
}

INSTANTIATE_TEST_SUITE_P(Values, RoundToInt16Test,
                         ::testing::Values(RoundCase{2.5, 2}, RoundCase{3.5, 4}, RoundCase{4.5, 4},
                                           RoundCase{-2.5, -2}, RoundCase{0.4, 0},
                                           RoundCase{0.6, 1}, RoundCase{250.5, 250},
                                           RoundCase{32767.4, 32767}, RoundCase{-32768, -32768},
                                           RoundCase{-32768.5, -32768}));

TEST(RoundToInt16, OutsideTheRangeIsAFailure) {
  for (double v : {32767.5, 32768.0, -32769.0, -32768.6, 1e10})
    EXPECT_THROW(RoundToInt16(v), OverflowFailure) << v;
}

TEST(RoundToInt32, RoundsAndChecksTheRange) {
  EXPECT_EQ(RoundToInt32(2.5), 2);
  EXPECT_EQ(RoundToInt32(-2147483648.0), INT32_MIN);
  EXPECT_THROW(RoundToInt32(2147483647.5), OverflowFailure);
}

TEST(ReadLenientNumber, HugeExponentIsAnOverflow) {
  EXPECT_THROW(ReadLenientNumber("1E999"), OverflowFailure);
}

}  // namespace
}  // namespace orbin
