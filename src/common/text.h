#pragma once
// Text inside the program is UTF-8. Where a rule counts characters (a Chinese
// character is one), it works on code points through these helpers.
#include <string>
#include <string_view>

namespace orbin {

std::u32string ToCodePoints(std::string_view utf8);
std::string FromCodePoints(std::u32string_view chars);

// Number of characters (code points).
std::size_t CharCount(std::string_view utf8);

// Up to `count` characters from 0-based character index `start`.
std::string CharSubstr(std::string_view utf8, std::size_t start,
                       std::size_t count = std::u32string::npos);

// Leading and trailing spaces (only " ") removed.
std::string TrimSpaces(std::string_view text);

}  // namespace orbin
