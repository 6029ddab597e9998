#include "common/text.h"

namespace orbin {

std::u32string ToCodePoints(std::string_view utf8) {
  std::u32string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    unsigned char c = static_cast<unsigned char>(utf8[i]);
    int extra = c < 0x80 ? 0 : c < 0xE0 ? 1 : c < 0xF0 ? 2 : 3;
    if (c >= 0x80 && c < 0xC0) extra = 0;  // stray continuation byte
    char32_t cp = extra == 0 ? c : c & (0x3F >> extra);
    std::size_t j = 1;
    for (; j <= static_cast<std::size_t>(extra) && i + j < utf8.size(); ++j) {
      unsigned char cc = static_cast<unsigned char>(utf8[i + j]);
      if ((cc & 0xC0) != 0x80) break;
      cp = (cp << 6) | (cc & 0x3F);
    }
    if (j != static_cast<std::size_t>(extra) + 1) cp = U'\uFFFD';
    out += cp;
    i += j;
  }
  return out;
}

std::string FromCodePoints(std::u32string_view chars) {
  std::string out;
  out.reserve(chars.size());
  for (char32_t cp : chars) {
    if (cp < 0x80) {
      out += static_cast<char>(cp);
    } else if (cp < 0x800) {
      out += static_cast<char>(0xC0 | (cp >> 6));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
      out += static_cast<char>(0xE0 | (cp >> 12));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (cp >> 18));
      out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    }
  }
  return out;
}

std::size_t CharCount(std::string_view utf8) {
  std::size_t n = 0;
  for (char c : utf8)
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
  return n;
}

std::string CharSubstr(std::string_view utf8, std::size_t start, std::size_t count) {
  std::u32string chars = ToCodePoints(utf8);
  if (start >= chars.size()) return {};
  return FromCodePoints(std::u32string_view(chars).substr(start, count));
}

std::string TrimSpaces(std::string_view text) {
  std::size_t begin = text.find_first_not_of(' ');
  if (begin == std::string_view::npos) return {};
  std::size_t end = text.find_last_not_of(' ');
  return std::string(text.substr(begin, end - begin + 1));
}

}  // namespace orbin
