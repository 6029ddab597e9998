// Code page conversion for the native (Linux) build, which exists to test
// the portable rules: the practices' code page 950, through iconv, decoded
// the way Windows (and Wine) decodes it, so that the rules meet the same
// text in the tests as on a practice's PC.
#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <string>

#include "platform/codepage.h"

namespace orbin {
namespace {

// One open descriptor per direction for the life of the thread.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (ok()) iconv_close(cd_);
  }
  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
  iconv_t get() const { return cd_; }

 private:
  iconv_t cd_;
};

bool IsAscii(std::string_view text) {
  for (char c : text)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

std::string Convert(std::string_view in, const Converter& converter) {
  if (IsAscii(in) || !converter.ok()) return std::string(in);
  iconv_t cd = converter.get();
  iconv(cd, nullptr, nullptr, nullptr, nullptr);  // initial shift state
  std::string out;
  out.reserve(in.size() * 3 / 2);
  // iconv takes a non-const pointer but only reads the input.
  char* src = const_cast<char*>(in.data());
  std::size_t src_left = in.size();
  char buffer[256];
  while (src_left > 0) {
    char* dst = buffer;
    std::size_t dst_left = sizeof buffer;
    std::size_t r = iconv(cd, &src, &src_left, &dst, &dst_left);
    out.append(buffer, dst - buffer);
    if (r == static_cast<std::size_t>(-1) && errno != E2BIG) {
      // Unconvertible or cut sequence: the platform replaces it with "?".
      out += '?';
      ++src;
      --src_left;
    }
  }
  return out;
}

// Code page 950 as the system decodes it: a lead byte (0x81..0xFE) takes
// the byte after it as its second byte, whatever that byte is, so a pair
// with a byte that cannot end a character (a line end included) becomes one
// "?"; a lead byte at the very end is a "?" of its own. The user-defined
// areas decode to the private-use characters the system's table gives them.
constexpr char kUnknown[] = "?";

bool IsLeadByte(unsigned char b) { return b >= 0x81 && b <= 0xFE; }
bool IsTrailByte(unsigned char b) { return (b >= 0x40 && b <= 0x7E) || (b >= 0xA1 && b <= 0xFE); }

std::string Utf8(char32_t c) {
  std::string out;
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
  return out;
}

// The user-defined areas (lead bytes, first private-use character): each
// lead byte holds 157 characters, trail bytes 0x40..0x7E then 0xA1..0xFE.
struct UserDefinedArea {
  unsigned char first_lead, last_lead;
  char32_t first_char;
};
constexpr UserDefinedArea kUserDefinedAreas[] = {
    {0xFA, 0xFE, 0xE000}, {0x8E, 0xA0, 0xE311}, {0x81, 0x8D, 0xEEB8}};

bool UserDefined(unsigned char lead, unsigned char trail, char32_t& c) {
  for (const UserDefinedArea& area : kUserDefinedAreas) {
    if (lead < area.first_lead || lead > area.last_lead) continue;
    const unsigned trail_index = trail <= 0x7E ? trail - 0x40u : trail - 0xA1u + 63;
    c = area.first_char + (lead - area.first_lead) * 157u + trail_index;
    return true;
  }
  return false;
}

std::string DecodePair(unsigned char lead, unsigned char trail, const Converter& converter) {
  if (!IsTrailByte(trail)) return kUnknown;
  char32_t c;
  if (UserDefined(lead, trail, c)) return Utf8(c);
  char pair[] = {static_cast<char>(lead), static_cast<char>(trail)};
  char decoded[8];
  char* src = pair;
  char* dst = decoded;
  std::size_t src_left = sizeof pair, dst_left = sizeof decoded;
  iconv(converter.get(), nullptr, nullptr, nullptr, nullptr);
  if (iconv(converter.get(), &src, &src_left, &dst, &dst_left) == static_cast<std::size_t>(-1) ||
      src_left != 0)
    return kUnknown;  // a pair the table leaves empty
  return std::string(decoded, dst);
}

// True when iconv decodes `in` as the system does: every lead byte has a
// second byte that can end a character, outside the user-defined areas,
// and no byte stands for itself above 0x7F.
bool PlainText(std::string_view in) {
  for (std::size_t i = 0; i < in.size(); ++i) {
    const auto b = static_cast<unsigned char>(in[i]);
    if (b < 0x80) continue;
    char32_t c;
    if (!IsLeadByte(b) || i + 1 == in.size()) return false;
    const auto trail = static_cast<unsigned char>(in[i + 1]);
    if (!IsTrailByte(trail) || UserDefined(b, trail, c)) return false;
    ++i;
  }
  return true;
}

std::string DecodeCodePage950(std::string_view in, const Converter& converter) {
  if (IsAscii(in) || !converter.ok()) return std::string(in);
  // Most text converts whole; a pair the table leaves empty still comes
  // out as one "?" below.
  if (PlainText(in)) {
    std::string whole = Convert(in, converter);
    if (whole.find('?') == std::string::npos ||
        std::count(whole.begin(), whole.end(), '?') == std::count(in.begin(), in.end(), '?'))
      return whole;
  }
  std::string out;
  out.reserve(in.size() * 3 / 2);
  for (std::size_t i = 0; i < in.size(); ++i) {
    const auto b = static_cast<unsigned char>(in[i]);
    if (b < 0x80) {
      out += static_cast<char>(b);
    } else if (!IsLeadByte(b)) {
      out += Utf8(b == 0x80 ? 0x0080 : 0xF8F8);  // 0x80 and 0xFF stand alone
    } else if (i + 1 == in.size()) {
      out += kUnknown;
    } else {
      out += DecodePair(b, static_cast<unsigned char>(in[i + 1]), converter);
      ++i;
    }
  }
  return out;
}

// The inverse of the user-defined areas and of 0xFF, which iconv does not
// know: what FromAnsi gives comes back as the bytes it came from.
bool EncodeUserDefined(char32_t c, std::string& out) {
  if (c == 0xF8F8) {
    out += '\xff';
    return true;
  }
  for (const UserDefinedArea& area : kUserDefinedAreas) {
    const char32_t last = area.first_char + (area.last_lead - area.first_lead + 1) * 157u - 1;
    if (c < area.first_char || c > last) continue;
    const unsigned index = c - area.first_char;
    const unsigned trail_index = index % 157;
    out += static_cast<char>(area.first_lead + index / 157);
    out += static_cast<char>(trail_index < 63 ? 0x40 + trail_index : 0xA1 + trail_index - 63);
    return true;
  }
  return false;
}

// The code point of the UTF-8 sequence at `i` (private-use characters are
// all three bytes long), and its length.
char32_t CodePointAt(std::string_view text, std::size_t i, std::size_t& length) {
  const auto b = static_cast<unsigned char>(text[i]);
  if ((b & 0xF0) == 0xE0 && i + 2 < text.size()) {
    length = 3;
    return ((b & 0x0F) << 12) | ((text[i + 1] & 0x3F) << 6) | (text[i + 2] & 0x3F);
  }
  length = 1;
  return 0;  // not one that needs looking at
}

}  // namespace

std::size_t AnsiCharSize(std::string_view ansi_bytes, std::size_t at) {
  return IsLeadByte(static_cast<unsigned char>(ansi_bytes[at])) && at + 1 < ansi_bytes.size() ? 2 : 1;
}

std::string ToAnsi(std::string_view utf8) {
  thread_local const Converter to_ansi("CP950", "UTF-8");
  if (IsAscii(utf8)) return std::string(utf8);
  std::string out;
  std::size_t run = 0;  // start of the text not yet converted
  for (std::size_t i = 0; i < utf8.size();) {
    std::size_t length;
    const char32_t c = CodePointAt(utf8, i, length);
    std::string special;
    if (c != 0 && EncodeUserDefined(c, special)) {
      out += Convert(utf8.substr(run, i - run), to_ansi) + special;
      run = i + length;
    }
    i += length;
  }
  return out + Convert(utf8.substr(run), to_ansi);
}

std::string FromAnsi(std::string_view ansi) {
  thread_local const Converter from_ansi("UTF-8", "CP950");
  return DecodeCodePage950(ansi, from_ansi);
}

}  // namespace orbin
