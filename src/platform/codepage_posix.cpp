// Code page conversion for the native (Linux) build, which exists to test
// the portable rules: the practices' code page 950, through iconv.
#include <iconv.h>

#include <cerrno>
#include <string>

#include "platform/codepage.h"

namespace orbin {
namespace {

std::string Convert(std::string_view in, const char* to, const char* from) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(in);
  std::string out;
  std::string input(in);
  char* src = input.data();
  std::size_t src_left = input.size();
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
  iconv_close(cd);
  return out;
}

}  // namespace

std::string ToAnsi(std::string_view utf8) { return Convert(utf8, "CP950", "UTF-8"); }
std::string FromAnsi(std::string_view ansi) { return Convert(ansi, "UTF-8", "CP950"); }

}  // namespace orbin
