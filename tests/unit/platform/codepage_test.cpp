// The native build's code page 950 stands for the system's in every unit
// test, so it must decode as the system does; these results were read from
// the system's own conversion (MultiByteToWideChar under Wine, the same in
// Wine 8 and Wine 10), and tests/e2e/test_startup.py checks them there.
#include <gtest/gtest.h>

#include "platform/codepage.h"

namespace orbin {
namespace {

struct DecodeCase {
  const char* bytes;
  const char* utf8;
};

class FromAnsiTest : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(FromAnsiTest, DecodesAsTheSystemDoes) {
  EXPECT_EQ(FromAnsi(GetParam().bytes), GetParam().utf8) << GetParam().bytes;
}

INSTANTIATE_TEST_SUITE_P(
    CodePage950, FromAnsiTest,
    ::testing::Values(
        DecodeCase{"A", "A"},
        DecodeCase{"\xa4\x40", "一"},
        DecodeCase{"\xa4\xa1", "丑"},
        DecodeCase{"\xa4\xa4\xa4", "中?"},  // a lead byte at the end: "?"
        DecodeCase{"B\xa4", "B?"},
        // A lead byte takes the next byte whatever it is: a line end too.
        DecodeCase{"\xa4\r\nB", "?\nB"},
        DecodeCase{"\xa4\n", "?"},
        DecodeCase{"\xa4 ", "?"},
        DecodeCase{"\x81\r", "?"},
        DecodeCase{"\xa4\x7f", "?"},
        DecodeCase{"\xa4\xa0", "?"},
        DecodeCase{"\xa4\xff", "?"},
        DecodeCase{"\xa3\xc0", "?"},  // a pair the table leaves empty
        DecodeCase{"\xa3\xe1", "€"},
        DecodeCase{"\xf9\xfe", "▓"},
        // Bytes that are no lead byte, and the user-defined areas.
        DecodeCase{"\x80", "\u0080"},
        DecodeCase{"\xff", "\uf8f8"},
        DecodeCase{"\xfa\x40", "\ue000"},
        DecodeCase{"\xfe\xfe", "\ue310"},
        DecodeCase{"\xfe\x7f", "?"},
        DecodeCase{"\x8e\x40", "\ue311"},
        DecodeCase{"\xa0\xfe", "\ueeb7"},
        DecodeCase{"\x81\x40", "\ueeb8"},
        DecodeCase{"\x8d\xfe", "\uf6b0"},
        DecodeCase{"\xc6\xa1", "\uf6b1"}));

// What FromAnsi gives of the user-defined areas and of 0xFF goes back to
// the bytes it came from, as WideCharToMultiByte (Wine's) gives them.
TEST(ToAnsi, GivesBackTheUserDefinedAreasAndFF) {
  for (const char* bytes : {"\xff", "\xfa\x40", "\xfe\xfe", "\x8e\x40", "\xa0\xfe", "\x81\x40",
                            "\x8d\xfe", "\xc6\xa1", "\xc8\xfe", "\x80", "\xa3\xe1", "\xf9\xfe",
                            "A\xff\xb6\x45\xfa\x40z"}) {
    EXPECT_EQ(ToAnsi(FromAnsi(bytes)), bytes);
  }
}

}  // namespace
}  // namespace orbin
