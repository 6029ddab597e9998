#pragma once
// Reading numbers from text the way the main system writes them in command
// lines, settings and files: lenient, never failing on the text itself.
#include <cstdint>
#include <optional>
#include <string_view>

namespace orbin {

// Blanks, tabs and line feeds are ignored anywhere. The longest leading
// decimal number (sign, digits, point, fraction, exponent after "E" or "D"),
// or "&H" hexadecimal, or "&O" octal, gives the value; text after it is
// ignored; no number gives 0.
double ReadLenientNumber(std::string_view text);

// The form nearly every number takes, a plain integer of at most nine digits
// after an optional sign, read in one pass; nothing for any other text
// (blanks included). Where it gives a value, ReadLenientNumber gives the
// same. Inline: print scripts read hundreds of thousands of them.
inline std::optional<double> ReadPlainInteger(std::string_view text) {
  const std::size_t first = !text.empty() && (text[0] == '+' || text[0] == '-') ? 1 : 0;
  if (first == text.size() || text.size() - first > 9) return std::nullopt;
  std::uint32_t value = 0;
  for (std::size_t i = first; i < text.size(); ++i) {
    const unsigned digit = static_cast<unsigned char>(text[i]) - unsigned{'0'};
    if (digit > 9) return std::nullopt;
    value = value * 10 + digit;
  }
  return text[0] == '-' ? -static_cast<double>(value) : static_cast<double>(value);
}

// Nearest integer, halves to the even neighbour. Throws OverflowFailure
// outside -32768..32767 (after rounding).
std::int16_t RoundToInt16(double value);

// The same for 32-bit integers.
std::int32_t RoundToInt32(double value);

}  // namespace orbin
