#pragma once
// Values read from outside (a print-script field, a stored setting, the
// command line) as a message quotes them. A value can be as long as a file:
// quoted whole, a million-digit field fills the error box beyond the
// screen, its text unreadable and its button out of reach. So a message
// shows the value's beginning only, cut at a character. File paths are not
// values: they are bounded and the person needs them whole.
#include <string>
#include <string_view>

namespace orbin {

inline constexpr std::size_t kQuotedValueChars = 40;

// `value` itself, or its first kQuotedValueChars characters followed by
// "…" when it is longer; never cut inside a UTF-8 sequence.
std::string ShortenedValue(std::string_view value);

// The shortened value in 「」, as messages quote what they found.
std::string QuotedValue(std::string_view value);

}  // namespace orbin
