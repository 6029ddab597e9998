// Code page conversion for the native (Linux) build, which exists to test
// the portable rules: the practices' code page 950, through iconv.
#include <iconv.h>

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

}  // namespace

std::string ToAnsi(std::string_view utf8) {
  thread_local const Converter to_ansi("CP950", "UTF-8");
  return Convert(utf8, to_ansi);
}

std::string FromAnsi(std::string_view ansi) {
  thread_local const Converter from_ansi("UTF-8", "CP950");
  return Convert(ansi, from_ansi);
}

}  // namespace orbin
