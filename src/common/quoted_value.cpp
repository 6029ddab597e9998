#include "common/quoted_value.h"

namespace orbin {
namespace {

bool StartsCharacter(char byte) { return (static_cast<unsigned char>(byte) & 0xC0) != 0x80; }

}  // namespace

std::string ShortenedValue(std::string_view value) {
  std::size_t chars = 0;
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (!StartsCharacter(value[i])) continue;
    if (chars++ == kQuotedValueChars) return std::string(value.substr(0, i)) + "…";
  }
  return std::string(value);
}

std::string QuotedValue(std::string_view value) { return "「" + ShortenedValue(value) + "」"; }

}  // namespace orbin
