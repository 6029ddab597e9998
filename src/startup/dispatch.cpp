#include "startup/dispatch.h"

#include <array>
#include <utility>

namespace orbin {
namespace {

bool Contains(std::string_view text, std::string_view literal) {
  return text.find(literal) != std::string_view::npos;
}

constexpr std::string_view kPrinterSwitch = "/Printer/";

}  // namespace

Job SelectJob(std::string_view args, std::string_view exe_base_name) {
  static constexpr std::array<std::pair<std::string_view, Job>, 9> kSwitches = {{
      {"/Print/", Job::kPicturePrint},
      {"/HH/", Job::kPrintTextFile},
      {"/VV/", Job::kPortrait},
      {kPrinterSwitch, Job::kPrinter},
      {"/Printers/", Job::kPrinterList},
      {"/Print2VB/", Job::kPrintScript},
      {"/show", Job::kOfficeInfo},
      {"/L", Job::kTreatmentEntry},
      {"memfrm", Job::kStatusMonitor},
  }};
  for (const auto& [literal, job] : kSwitches)
    if (Contains(args, literal)) return job;
  if (Contains(args, "/ReadF4") || exe_base_name == "chg2eng") return Job::kReaderAuthentication;
  return Job::kOfficeInfo;
}

std::string PrinterNameArgument(std::string_view args) {
  std::size_t at = args.find(kPrinterSwitch);
  if (at == std::string_view::npos) return {};
  return std::string(args.substr(at + kPrinterSwitch.size()));
}

std::string MakeStartDir(std::string_view dir) {
  std::string start(dir);
  if (start.empty() || start.back() != '\\') start += '\\';
  return start;
}

std::string ArgumentText(std::string_view command_line) {
  std::size_t i = 0;
  if (!command_line.empty() && command_line[0] == '"') {
    std::size_t close = command_line.find('"', 1);
    i = close == std::string_view::npos ? command_line.size() : close + 1;
  } else {
    while (i < command_line.size() && command_line[i] != ' ' && command_line[i] != '\t') ++i;
  }
  while (i < command_line.size() && (command_line[i] == ' ' || command_line[i] == '\t')) ++i;
  return std::string(command_line.substr(i));
}

std::string ExecutableBaseName(std::string_view module_path) {
  std::size_t slash = module_path.find_last_of("\\/:");
  std::string_view name =
      slash == std::string_view::npos ? module_path : module_path.substr(slash + 1);
  std::size_t dot = name.rfind('.');
  if (dot != std::string_view::npos) name = name.substr(0, dot);
  return std::string(name);
}

}  // namespace orbin
