#pragma once
// The short number reader of the office window: no exponents, no "&H", and
// only leading spaces are skipped (unlike the lenient reader).
#include <string_view>

namespace orbin {

// Leading spaces skipped; an optional sign, digits and an optional decimal
// point with more digits, up to the first other character; no digits give 0.
double ReadPlainNumber(std::string_view text);

}  // namespace orbin
