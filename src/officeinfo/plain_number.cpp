#include "officeinfo/plain_number.h"

#include <cstdlib>
#include <string>

namespace orbin {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

double ReadPlainNumber(std::string_view text) {
  std::size_t i = text.find_first_not_of(' ');
  if (i == std::string_view::npos) return 0;
  std::string number;
  if (text[i] == '+' || text[i] == '-') number += text[i++];
  bool has_digits = false;
  while (i < text.size() && IsDigit(text[i])) { number += text[i++]; has_digits = true; }
  if (i < text.size() && text[i] == '.') {
    number += text[i++];
    while (i < text.size() && IsDigit(text[i])) { number += text[i++]; has_digits = true; }
  }
  // Too many digits give infinity (or 0 for a vanishing fraction); callers
  // that need an integer clamp.
  return has_digits ? std::strtod(number.c_str(), nullptr) : 0;
}

}  // namespace orbin
