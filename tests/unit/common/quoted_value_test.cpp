#include "common/quoted_value.h"

#include <gtest/gtest.h>

#include "common/failure.h"
#include "common/lenient_number.h"

namespace orbin {
namespace {

std::string Times(std::size_t n, const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < n; ++i) out += text;
  return out;
}

struct QuoteCase {
  std::string value;
  std::string quoted;
};

class QuotedValueTest : public ::testing::TestWithParam<QuoteCase> {};

TEST_P(QuotedValueTest, ShowsTheFirstFortyCharacters) {
  EXPECT_EQ(QuotedValue(GetParam().value), GetParam().quoted);
}

INSTANTIATE_TEST_SUITE_P(
    Values, QuotedValueTest,
    ::testing::Values(
        QuoteCase{"", "「」"},
        QuoteCase{"32768", "「32768」"},
        QuoteCase{Times(40, "x"), "「" + Times(40, "x") + "」"},
        QuoteCase{Times(41, "x"), "「" + Times(40, "x") + "…」"},
        QuoteCase{Times(1000000, "9"), "「" + Times(40, "9") + "…」"},
        // Characters, not bytes: three-byte and four-byte ones count one.
        QuoteCase{Times(40, "診"), "「" + Times(40, "診") + "」"},
        QuoteCase{Times(41, "診"), "「" + Times(40, "診") + "…」"},
        QuoteCase{Times(39, "x") + "𠀀" + "y", "「" + Times(39, "x") + "𠀀…」"},
        QuoteCase{Times(39, "x") + "診所", "「" + Times(39, "x") + "診…」"}));

// The number reader's overflow quotes the text it read.
TEST(LenientNumberOverflow, QuotesTheTextShortened) {
  try {
    ReadLenientNumber(Times(400, "9"));
    FAIL();
  } catch (const OverflowFailure& failure) {
    EXPECT_EQ(std::string(failure.what()), "溢位：數字太大：「" + Times(40, "9") + "…」");
  }
  try {
    RoundToInt16(1e300);
    FAIL();
  } catch (const OverflowFailure& failure) {
    EXPECT_EQ(std::string(failure.what()),
              "溢位：數字 " + std::to_string(1e300).substr(0, 40) + "… 超出 -32768 到 32767 的範圍");
  }
}

}  // namespace
}  // namespace orbin
