#include "treatment/site_entry.h"

#include <cstdlib>

#include "common/text.h"

namespace orbin {
namespace {

// At least `width` digits, zeros in front; a minus sign goes before them.
std::string ZeroPadded(int value, std::size_t width) {
  std::string digits = std::to_string(std::abs(value));
  if (digits.size() < width) digits.insert(0, width - digits.size(), '0');
  return value < 0 ? "-" + digits : digits;
}

constexpr int kTaiwanCalendarOffset = 1911;

}  // namespace

bool IsPerToothLetter(std::string_view code_letter, std::string_view per_tooth_letters) {
  return !code_letter.empty() && per_tooth_letters.find(code_letter) != std::string_view::npos;
}

bool IsEntryComplete(const SiteEntry& entry, std::string_view per_tooth_letters) {
  if (entry.code_letter.empty() || entry.letter_pos <= 0) return false;
  if (!IsPerToothLetter(entry.code_letter, per_tooth_letters)) return true;
  const int pos = entry.letter_pos;
  return CharCount(entry.text) == static_cast<std::size_t>(pos + pos / 2 + 1);
}

std::string ClaimDateField(const LocalTime& today) {
  return ZeroPadded(today.year - kTaiwanCalendarOffset, 3) + ZeroPadded(today.month, 2) +
         ZeroPadded(today.day, 2);
}

std::string BuildItem(const SiteEntry& entry, std::string_view per_tooth_letters,
                      std::string_view code_field, const LocalTime& today) {
  const std::size_t pos = entry.letter_pos > 0 ? static_cast<std::size_t>(entry.letter_pos) : 0;
  std::string item = CharSubstr(entry.text, 0, pos) + entry.code_letter + ";";
  item += code_field;
  if (!IsPerToothLetter(entry.code_letter, per_tooth_letters)) return item;
  // The per-tooth characters follow the letter's place (0-based pos).
  for (std::size_t i = 1; i <= pos / 2; ++i) item += entry.code_letter + CharSubstr(entry.text, pos + i, 1);
  if (entry.code_letter == "R") item += ";" + ClaimDateField(today);
  return item + ";";
}

}  // namespace orbin
