#include "common/lenient_number.h"

#include <cmath>
#include <cstdlib>
#include <string>

#include "common/failure.h"
#include "common/quoted_value.h"

namespace orbin {
namespace {

bool IsIgnored(char c) { return c == ' ' || c == '\t' || c == '\n'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexDigitValue(char c) {
  if (IsDigit(c)) return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

double ReadRadix(const std::string& s, std::size_t pos, int radix) {
  double value = 0;
  for (; pos < s.size(); ++pos) {
    int digit = radix == 16 ? HexDigitValue(s[pos])
                            : (s[pos] >= '0' && s[pos] <= '7' ? s[pos] - '0' : -1);
    if (digit < 0) break;
    value = value * radix + digit;
  }
  return value;
}

}  // namespace

double ReadLenientNumber(std::string_view text) {
  if (std::optional<double> plain = ReadPlainInteger(text)) return *plain;
  std::string s;
  s.reserve(text.size());
  for (char c : text)
    if (!IsIgnored(c)) s += c;

  if (s.size() >= 2 && s[0] == '&') {
    if (s[1] == 'H' || s[1] == 'h') return ReadRadix(s, 2, 16);
    if (s[1] == 'O' || s[1] == 'o') return ReadRadix(s, 2, 8);
    return 0;
  }

  // Longest leading decimal number; copied into a form strtod reads.
  std::string number;
  std::size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) number += s[i++];
  bool has_digits = false;
  while (i < s.size() && IsDigit(s[i])) { number += s[i++]; has_digits = true; }
  if (i < s.size() && s[i] == '.') {
    number += s[i++];
    while (i < s.size() && IsDigit(s[i])) { number += s[i++]; has_digits = true; }
  }
  if (!has_digits) return 0;
  if (i < s.size() && (s[i] == 'E' || s[i] == 'e' || s[i] == 'D' || s[i] == 'd')) {
    std::size_t j = i + 1;
    std::string exponent = "e";
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) exponent += s[j++];
    bool exponent_digits = false;
    while (j < s.size() && IsDigit(s[j])) { exponent += s[j++]; exponent_digits = true; }
    if (exponent_digits) number += exponent;
  }
  double value = std::strtod(number.c_str(), nullptr);
  if (std::isinf(value)) throw OverflowFailure("溢位：數字太大：" + QuotedValue(text));
  return value;
}

std::int16_t RoundToInt16(double value) {
  double rounded = std::nearbyint(value);  // default mode: halves to even
  if (!(rounded >= -32768.0 && rounded <= 32767.0))
    throw OverflowFailure("溢位：數字 " + ShortenedValue(std::to_string(value)) +
                          " 超出 -32768 到 32767 的範圍");
  return static_cast<std::int16_t>(rounded);
}

std::int32_t RoundToInt32(double value) {
  double rounded = std::nearbyint(value);
  if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0))
    throw OverflowFailure("溢位：數字 " + ShortenedValue(std::to_string(value)) +
                          " 超出 -2147483648 到 2147483647 的範圍");
  return static_cast<std::int32_t>(rounded);
}

}  // namespace orbin
