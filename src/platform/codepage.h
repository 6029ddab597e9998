#pragma once
// The one place where text crosses between the program (UTF-8) and the bytes
// of the system ANSI code page (950 on the practices' PCs) that files, INI
// values and the ANSI platform calls carry.
#include <string>
#include <string_view>

namespace orbin {

std::string ToAnsi(std::string_view utf8);
std::string FromAnsi(std::string_view ansi_bytes);

}  // namespace orbin
