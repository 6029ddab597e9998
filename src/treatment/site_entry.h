#pragma once
// One entry as typed: site characters, the code letter's place, and for
// per-tooth letters one character per whole pair of site characters. Its
// completion and its conversion into one item of the result line.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/clock.h"

namespace orbin {

struct SiteEntry {
  std::string text;         // the text box, UTF-8
  std::string code_letter;  // empty, or one letter "A".."Z"
  std::int16_t letter_pos = 0;  // characters before the letter's place
};

bool IsPerToothLetter(std::string_view code_letter, std::string_view per_tooth_letters);

// True when the entry is ready for conversion: a letter after at least one
// site character and, for a per-tooth letter, exactly letter_pos +
// letter_pos / 2 + 1 characters in the box.
bool IsEntryComplete(const SiteEntry& entry, std::string_view per_tooth_letters);

// The date field of an "R" item: Taiwanese year (at least 3 digits), month
// and day (2 digits each): 7 December 2026 -> "1151207".
std::string ClaimDateField(const LocalTime& today);

// The item "<site><letter>;<code_field>[<letter><char>...;][<date>;]".
// `code_field` carries its own ";" ("-;" when the table has no code). The
// letter always comes from code_letter: the text at its place may hold the
// keypad key that was typed for it.
std::string BuildItem(const SiteEntry& entry, std::string_view per_tooth_letters,
                      std::string_view code_field, const LocalTime& today);

}  // namespace orbin
