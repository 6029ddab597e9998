#include "printing/print_script_number.h"

#include <cstdint>
#include <cstdlib>
#include <string>

#include "common/lenient_number.h"

namespace orbin {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsHexDigit(char c) {
  return IsDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}
bool IsOctalDigit(char c) { return c >= '0' && c <= '7'; }
bool IsExponentLetter(char c) { return c == 'E' || c == 'e' || c == 'D' || c == 'd'; }
bool IsSign(char c) { return c == '+' || c == '-'; }

template <typename Pred>
std::size_t SkipWhile(std::string_view s, std::size_t i, Pred pred) {
  while (i < s.size() && pred(s[i])) ++i;
  return i;
}

// "&H1F" or "&O17" with at least one digit and nothing after the digits.
bool IsRadixNumber(std::string_view s) {
  if (s.size() < 3 || s[0] != '&') return false;
  char kind = s[1];
  if (kind == 'H' || kind == 'h') return SkipWhile(s, 2, IsHexDigit) == s.size();
  if (kind == 'O' || kind == 'o') return SkipWhile(s, 2, IsOctalDigit) == s.size();
  return false;
}

// Exactly representable powers of ten: a mantissa of at most 15 digits
// scaled by one of them is a single correctly rounded operation.
constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                   1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                   1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr int kMaxExactScale = 22;
constexpr int kMaxExactDigits = 15;

// Any other well-formed decimal number, through strtod (which knows no "D"
// exponent). Out of the double range it gives an infinity or zero, which the
// operand's range check then judges.
double ReadLongDecimal(std::string_view s) {
  std::string number(s);
  for (char& c : number)
    if (c == 'D' || c == 'd') c = 'e';
  return std::strtod(number.c_str(), nullptr);
}

}  // namespace

std::optional<double> ParseAnyFieldNumber(std::string_view s) {
  if (IsRadixNumber(s)) return ReadLenientNumber(s);

  std::size_t i = 0;
  bool negative = false;
  if (i < s.size() && IsSign(s[i])) negative = s[i++] == '-';
  std::uint64_t mantissa = 0;
  int digits = 0;
  auto take_digits = [&] {
    int count = 0;
    for (; i < s.size() && IsDigit(s[i]); ++i, ++count)
      if (digits++ < kMaxExactDigits) mantissa = mantissa * 10 + (s[i] - '0');
    return count;
  };
  take_digits();
  int fraction_digits = 0;
  if (i < s.size() && s[i] == '.') {
    ++i;
    fraction_digits = take_digits();
  }
  if (digits == 0) return std::nullopt;
  int exponent = 0;
  if (i < s.size() && IsExponentLetter(s[i])) {
    ++i;
    bool exponent_negative = false;
    if (i < s.size() && IsSign(s[i])) exponent_negative = s[i++] == '-';
    std::size_t exponent_start = i;
    for (; i < s.size() && IsDigit(s[i]); ++i)
      if (exponent < 100000) exponent = exponent * 10 + (s[i] - '0');  // far beyond any double
    if (i == exponent_start) return std::nullopt;
    if (exponent_negative) exponent = -exponent;
  }
  if (i != s.size()) return std::nullopt;

  int scale = exponent - fraction_digits;
  if (digits > kMaxExactDigits || scale < -kMaxExactScale || scale > kMaxExactScale)
    return ReadLongDecimal(s);
  double magnitude = static_cast<double>(mantissa);
  magnitude = scale >= 0 ? magnitude * kPowersOfTen[scale] : magnitude / kPowersOfTen[-scale];
  return negative ? -magnitude : magnitude;
}

}  // namespace orbin
