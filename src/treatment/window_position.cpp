#include "treatment/window_position.h"

#include <cstdlib>
#include <string>

#include "common/text.h"

namespace orbin {
namespace {

constexpr std::size_t kSwitchValueChars = 4;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

double ReadLeadingNumber(std::string_view text) {
  std::string number;
  bool seen_point = false;
  for (char c : text) {
    if (IsBlank(c)) continue;
    const bool sign = (c == '-' || c == '+') && number.empty();
    const bool point = c == '.' && !seen_point;
    if (!sign && !point && (c < '0' || c > '9')) break;
    seen_point = seen_point || point;
    number += c;
  }
  // "", "-", "." and "-." hold no digit.
  if (number.find_first_of("0123456789") == std::string::npos) return 0;
  // strtod, not std::stod: a number beyond the double range must not throw.
  return std::strtod(number.c_str(), nullptr);
}

std::optional<double> SwitchPosition(std::string_view argument_text, std::string_view switch_text) {
  const std::size_t at = argument_text.find(switch_text);
  if (at == std::string_view::npos) return std::nullopt;
  std::string_view after = argument_text.substr(at + switch_text.size());
  return ReadLeadingNumber(CharSubstr(after, 0, kSwitchValueChars));
}

}  // namespace orbin
