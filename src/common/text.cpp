#include "common/text.h"

namespace orbin {

namespace {

struct Decoded {
  char32_t code_point;  // U+FFFD for a malformed or cut sequence
  std::size_t bytes;
};

// The character that starts at byte `i` of `utf8`.
Decoded DecodeAt(std::string_view utf8, std::size_t i) {
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
  // A character in more bytes than it needs (0xC1 0xBB for "{"), a
  // surrogate or a value beyond Unicode is malformed too: no byte sequence
  // reads as a character it does not spell.
  static constexpr char32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
  if (extra > 0 && (cp < kSmallest[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)))
    cp = U'\uFFFD';
  return {cp, j};
}

void AppendUtf8(std::string& out, char32_t cp) {
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

}  // namespace

std::u32string ToCodePoints(std::string_view utf8) {
  std::u32string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    const Decoded d = DecodeAt(utf8, i);
    out += d.code_point;
    i += d.bytes;
  }
  return out;
}

std::string FromCodePoints(std::u32string_view chars) {
  std::string out;
  out.reserve(chars.size());
  for (char32_t cp : chars) AppendUtf8(out, cp);
  return out;
}

std::size_t CharCount(std::string_view utf8) {
  std::size_t n = 0;
  for (char c : utf8)
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
  return n;
}

// Walks the text instead of converting all of it: the code table takes a
// letter or two from every line of "treat.dat" at every key.
std::string CharSubstr(std::string_view utf8, std::size_t start, std::size_t count) {
  std::size_t i = 0;
  for (std::size_t skipped = 0; skipped < start && i < utf8.size(); ++skipped)
    i += DecodeAt(utf8, i).bytes;
  std::string out;
  for (std::size_t taken = 0; taken < count && i < utf8.size(); ++taken) {
    const Decoded d = DecodeAt(utf8, i);
    AppendUtf8(out, d.code_point);
    i += d.bytes;
  }
  return out;
}

std::string TrimSpaces(std::string_view text) {
  std::size_t begin = text.find_first_not_of(' ');
  if (begin == std::string_view::npos) return {};
  std::size_t end = text.find_last_not_of(' ');
  return std::string(text.substr(begin, end - begin + 1));
}

}  // namespace orbin
