#pragma once
// Scripts for the interpreter's tests, and the operations they draw.
#include <string>
#include <vector>

#include "fakes/recording_surface.h"
#include "printing/print_script.h"

namespace orbin::testing {

using Lines = std::vector<std::string>;

// Each line followed by CR LF, as the main system writes the script.
inline std::string ScriptOf(const Lines& lines) {
  std::string script;
  for (const std::string& line : lines) script += line + "\r\n";
  return script;
}

// Headers for medium quality, portrait, then `commands` from line 3.
inline std::string CommandScript(const Lines& commands) {
  Lines lines{"3", "0"};
  lines.insert(lines.end(), commands.begin(), commands.end());
  return ScriptOf(lines);
}

// What the header lines and the opening space draw before any command.
inline const Lines kOpening{"quality -3", "orientation 1", "font 8", "text 0,0  ", "font 12"};

// The operations after the opening.
inline Lines CommandOperations(const Lines& commands) {
  RecordingSurface printer;
  RunPrintScript(CommandScript(commands), printer);
  return Lines(printer.operations.begin() + kOpening.size(), printer.operations.end());
}

// A table row: commands from line 3 and the operations they draw after
// the opening.
struct CommandCase {
  Lines commands;
  Lines expected;
};

}  // namespace orbin::testing
