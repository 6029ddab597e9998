#pragma once
// Reading numbers from text the way the main system writes them in command
// lines, settings and files: lenient, never failing on the text itself.
#include <cstdint>
#include <string_view>

namespace orbin {

// Blanks, tabs and line feeds are ignored anywhere. The longest leading
// decimal number (sign, digits, point, fraction, exponent after "E" or "D"),
// or "&H" hexadecimal, or "&O" octal, gives the value; text after it is
// ignored; no number gives 0.
double ReadLenientNumber(std::string_view text);

// Nearest integer, halves to the even neighbour. Throws OverflowFailure
// outside -32768..32767 (after rounding).
std::int16_t RoundToInt16(double value);

// The same for 32-bit integers.
std::int32_t RoundToInt32(double value);

}  // namespace orbin
