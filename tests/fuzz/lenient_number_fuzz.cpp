// The number readers over any text: the lenient reader of command lines,
// settings and files (with its 16- and 32-bit roundings), the operand reader
// of the print script, the plain reader of the office window and the
// leading-number reader of the entry window's position switches.
#include <cmath>
#include <optional>
#include <string>

#include "common/lenient_number.h"
#include "fuzz_support.h"
#include "officeinfo/plain_number.h"
#include "printing/print_script_number.h"
#include "treatment/window_position.h"

using namespace orbin;

namespace {

template <typename Int>
void CheckRounding(double value, Int (*round)(double), double low, double high,
                   std::string_view text) {
  const fuzz::Outcome outcome = fuzz::RunRule([&] {
    const Int rounded = round(value);
    fuzz::Require(std::fabs(static_cast<double>(rounded) - value) <= 0.5,
                  "rounding moves the value by at most a half", text);
  });
  fuzz::Require(!outcome.exit_code, "rounding never ends the program", text);
  const double nearest = std::nearbyint(value);
  const bool fits = nearest >= low && nearest <= high;
  fuzz::Require(fits == outcome.returned(), "rounding fails exactly when the value does not fit",
                text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text = fuzz::AsText(data, size);

  std::optional<double> lenient;
  const fuzz::Outcome read = fuzz::RunRule([&] { lenient = ReadLenientNumber(text); });
  fuzz::Require(!read.exit_code, "the lenient reader never ends the program", text);
  if (lenient) {
    fuzz::Require(!std::isnan(*lenient), "the lenient reader gives a number", text);
    CheckRounding<std::int16_t>(*lenient, RoundToInt16, -32768, 32767, text);
    CheckRounding<std::int32_t>(*lenient, RoundToInt32, -2147483648.0, 2147483647.0, text);
  }

  // A field that is wholly a number has the value the lenient reader finds
  // in it (when that one is in range).
  const std::optional<double> field = ParseFieldNumber(text);
  if (field) {
    fuzz::Require(!std::isnan(*field), "a script field gives a number", text);
    if (lenient && std::isfinite(*field)) {
      fuzz::Require(*field == *lenient, "a script field and the lenient reader agree", text);
    }
  }

  const double plain = ReadPlainNumber(text);
  fuzz::Require(!std::isnan(plain), "the plain reader gives a number", text);

  std::optional<double> leading;
  const fuzz::Outcome position = fuzz::RunRule([&] { leading = ReadLeadingNumber(text); });
  fuzz::Require(position.returned(), "the position reader never fails", text);
  fuzz::Require(!std::isnan(*leading), "the position reader gives a number", text);
  if (text.size() <= 4)
    fuzz::Require(std::isfinite(*leading), "four characters give a finite position", text);
  return 0;
}
