#pragma once
// The one place where text crosses between the program (UTF-8) and the bytes
// of the system ANSI code page (950 on the practices' PCs) that files, INI
// values and the ANSI platform calls carry.
#include <string>
#include <string_view>

namespace orbin {

std::string ToAnsi(std::string_view utf8);
std::string FromAnsi(std::string_view ansi_bytes);

// How many bytes the character at byte `at` of `ansi_bytes` takes as the
// system decodes it: 2 for a lead byte with a byte after it (whatever that
// byte is), otherwise 1. `at` is below the size.
std::size_t AnsiCharSize(std::string_view ansi_bytes, std::size_t at);

}  // namespace orbin
