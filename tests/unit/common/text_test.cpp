#include "common/text.h"

#include <gtest/gtest.h>

namespace orbin {
namespace {

struct SubstrCase {
  const char* text;
  std::size_t start, count;
  const char* expected;
};

class CharSubstrTest : public ::testing::TestWithParam<SubstrCase> {};

// Characters are counted as code points, as the whole text reads through
// ToCodePoints: a cut or broken sequence is one character U+FFFD, a stray
// continuation byte the character of its value.
TEST_P(CharSubstrTest, TakesCharactersAsCodePoints) {
  const SubstrCase& c = GetParam();
  EXPECT_EQ(CharSubstr(c.text, c.start, c.count), c.expected) << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, CharSubstrTest,
    ::testing::Values(SubstrCase{"11A;B", 2, 1, "A"}, SubstrCase{"11A", 0, 5, "11A"},
                      SubstrCase{"11A", 3, 1, ""}, SubstrCase{"11A", 9, 1, ""},
                      SubstrCase{"11A", 1, std::string::npos, "1A"},
                      SubstrCase{"牙齒填補", 1, 2, "齒填"}, SubstrCase{"a牙b", 2, 1, "b"},
                      SubstrCase{"\x80" "A", 0, 1, "\xC2\x80"},
                      SubstrCase{"\x80" "A", 1, 1, "A"},
                      SubstrCase{"\xE7\x89" "A", 0, 2, "\xEF\xBF\xBD" "A"},
                      SubstrCase{"A\xE7\x89", 1, 1, "\xEF\xBF\xBD"},
                      SubstrCase{"\xFF\xFF", 1, 1, "\xEF\xBF\xBD"}));

}  // namespace
}  // namespace orbin
