#pragma once
// Window position switches of the entry window's command line: "/L1200/T300".
#include <optional>
#include <string_view>

namespace orbin {

// The leading number of `text`: blanks ignored, an optional sign, digits and
// one decimal point; reading stops at the first other character; no number
// gives 0. Unlike the lenient reader: no exponent, no "&H". Beyond the
// range of a double it gives an infinity (0 for a vanishing fraction).
double ReadLeadingNumber(std::string_view text);

// The position in twips that `switch_text` ("/L" or "/T") gives: the leading
// number of the (at most) 4 characters after its first occurrence; nothing
// when the switch is absent.
std::optional<double> SwitchPosition(std::string_view argument_text, std::string_view switch_text);

}  // namespace orbin
