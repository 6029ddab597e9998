#pragma once
// What the fuzz targets share. Ending the program (EndProgram) and a rule
// failure (Failure) are outcomes the rules promise for bad input; anything
// else that escapes a rule, a sanitizer report, or a broken property is a
// finding: the target aborts and libFuzzer keeps the input.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "common/failure.h"
#include "common/program_end.h"

namespace orbin::fuzz {

inline std::string_view AsText(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

// Bytes as a C-like literal, for the message of a broken property.
inline std::string Escaped(std::string_view bytes) {
  std::string out;
  for (unsigned char c : bytes) {
    if (c == '\\' || c == '"') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c >= 0x20 && c < 0x7F) {
      out += static_cast<char>(c);
    } else {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      out += hex;
    }
  }
  return out;
}

// Stops the run as a finding when `holds` is false.
inline void Require(bool holds, const char* property, std::string_view detail = {}) {
  if (holds) return;
  std::fprintf(stderr, "\n*** broken property: %s\n    \"%s\"\n", property, Escaped(detail).c_str());
  std::abort();
}

// How a rule's run ended.
struct Outcome {
  std::optional<int> exit_code;        // it ended the program
  std::optional<std::string> failure;  // it failed (the message)
  bool returned() const { return !exit_code && !failure; }
};

template <typename Action>
Outcome RunRule(Action&& action) {
  Outcome outcome;
  try {
    action();
  } catch (const EndProgram& end) {
    outcome.exit_code = end.exit_code;
  } catch (const Failure& failure) {
    outcome.failure = failure.what();
  }
  return outcome;
}

}  // namespace orbin::fuzz
