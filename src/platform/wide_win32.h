#pragma once
// UTF-8 <-> UTF-16 at the edge of the wide (W) Windows calls.
#include <string>
#include <string_view>

namespace orbin {

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view wide);

}  // namespace orbin
