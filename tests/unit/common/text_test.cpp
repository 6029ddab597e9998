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

struct DecodeCase {
  const char* utf8;
  std::u32string expected;
};

class ToCodePointsTest : public ::testing::TestWithParam<DecodeCase> {};

// Overlong forms, surrogates and values beyond Unicode are one U+FFFD each:
// a typing rig once read 0xC1 0xBB as "{" and looked for its "}" forever.
TEST_P(ToCodePointsTest, ReadsOnlyWellFormedCharacters) {
  const DecodeCase& c = GetParam();
  EXPECT_EQ(ToCodePoints(c.utf8), c.expected) << c.utf8;
}

INSTANTIATE_TEST_SUITE_P(
    Sequences, ToCodePointsTest,
    ::testing::Values(DecodeCase{"1{A}", U"1{A}"}, DecodeCase{"\xC1\xBB" "A", U"\uFFFD" "A"},
                      DecodeCase{"\xE0\x81\xBB", U"\uFFFD"},
                      DecodeCase{"\xF0\x80\x81\xBB", U"\uFFFD"},
                      DecodeCase{"\xED\xA0\x80", U"\uFFFD"},
                      DecodeCase{"\xF4\x90\x80\x80", U"\uFFFD"},
                      DecodeCase{"\xC2\x80\xE7\x89\x99\xF0\x9F\x98\x80",
                                 U"\u0080\u7259\U0001F600"}));

}  // namespace
}  // namespace orbin
