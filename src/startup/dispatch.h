#pragma once
// Which job a run does, from the argument text and the executable's name.
#include <string>
#include <string_view>

namespace orbin {

enum class Job {
  kPicturePrint,         // "/Print/"
  kPrintTextFile,        // "/HH/"
  kPortrait,             // "/VV/"
  kPrinter,              // "/Printer/" [name]
  kPrinterList,          // "/Printers/"
  kPrintScript,          // "/Print2VB/"
  kOfficeInfo,           // "/show", and no switch at all
  kTreatmentEntry,       // "/L"
  kStatusMonitor,        // "memfrm"
  kReaderAuthentication  // "/ReadF4", or the executable named "chg2eng"
};

// Switches are literal, case-sensitive substrings of the whole argument
// text, tested in a fixed order; the first match wins.
Job SelectJob(std::string_view argument_text, std::string_view executable_base_name);

// The printer name of "/Printer/": everything after the first "/Printer/",
// blanks and further switches included; empty when nothing follows.
std::string PrinterNameArgument(std::string_view argument_text);

// The start-up directory with exactly one trailing backslash.
std::string MakeStartDir(std::string_view working_directory);

// The argument text from a full command line: what follows the program's own
// path (quoted or not) and the blanks after it.
std::string ArgumentText(std::string_view command_line);

// "C:\x\chg2eng.exe" -> "chg2eng".
std::string ExecutableBaseName(std::string_view module_path);

}  // namespace orbin
