#pragma once
// The numbers an operand field of the print script may hold.
#include <optional>
#include <string_view>

namespace orbin {

// The value of a field that is wholly a number: a decimal number (sign,
// digits, point, fraction, exponent after "E" or "D"), or "&H" hexadecimal,
// or "&O" octal. Anything else - empty, quoted, trailing text, two numbers
// separated by blanks - is text: nothing.
std::optional<double> ParseFieldNumber(std::string_view field);

}  // namespace orbin
