// Code page conversion on Windows: the system ANSI code page (CP_ACP).
#include <windows.h>

#include "platform/codepage.h"
#include "platform/wide_win32.h"

namespace orbin {

std::string ToAnsi(std::string_view utf8) {
  std::wstring wide = Widen(utf8);
  if (wide.empty()) return {};
  int n = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()),
                              nullptr, 0, nullptr, nullptr);
  std::string out(n, '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n,
                      nullptr, nullptr);
  return out;
}

std::size_t AnsiCharSize(std::string_view ansi_bytes, std::size_t at) {
  return IsDBCSLeadByte(static_cast<BYTE>(ansi_bytes[at])) && at + 1 < ansi_bytes.size() ? 2 : 1;
}

std::string FromAnsi(std::string_view ansi) {
  if (ansi.empty()) return {};
  int n = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
  std::wstring wide(n, L'\0');
  MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), wide.data(), n);
  return Narrow(wide);
}

}  // namespace orbin
