#pragma once
// The numbers an operand field of the print script may hold.
#include <optional>
#include <string_view>

#include "common/lenient_number.h"

namespace orbin {

// The value of a field that is wholly a number: a decimal number (sign,
// digits, point, fraction, exponent after "E" or "D"), or "&H" hexadecimal,
// or "&O" octal. Anything else - empty, quoted, trailing text, two numbers
// separated by blanks - is text: nothing.
// The common plain integer is read in place; every other form by
// ParseAnyFieldNumber, which reads them all.
std::optional<double> ParseAnyFieldNumber(std::string_view field);
inline std::optional<double> ParseFieldNumber(std::string_view field) {
  if (std::optional<double> plain = ReadPlainInteger(field)) return plain;
  return ParseAnyFieldNumber(field);
}

}  // namespace orbin
