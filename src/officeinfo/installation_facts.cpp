#include "officeinfo/installation_facts.h"

#include <charconv>

#include "common/failure.h"
#include "officeinfo/plain_number.h"
#include "startup/dispatch.h"
#include "startup/module_routines.h"

namespace orbin {
namespace {

constexpr char kProgramFile[] = "orbin.exe";

// Shortest decimal form: 94, 89.5.
std::string GeneralNumber(double value) {
  char buffer[32];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

// The first line's bytes: its fields are byte positions of the code page
// form, cut before anything is decoded, so that half a character elsewhere
// in the line moves no field.
std::string FirstLine(const std::string& ansi_bytes) {
  return ansi_bytes.substr(0, ansi_bytes.find_first_of("\r\n"));
}

}  // namespace

std::string InstallationDirectory(const std::string& directory_setting, FileSystem& files) {
  const std::string current = MakeStartDir(files.CurrentDirectory());
  if (!files.FileExists(directory_setting + kProgramFile) &&
      files.FileExists(current + kProgramFile))
    return current;
  return directory_setting;
}

std::string MainProgramName(std::string_view argument_text) {
  const std::size_t p = argument_text.find("/vexa");
  if (p == std::string_view::npos) return "vexa.exe";
  return std::string(argument_text.substr(p + 1)) + ".exe";
}

std::string FileDateText(const FileTime& t, const DateTimeSeparators& s) {
  return std::to_string(t.year - 1911) + s.date + std::to_string(t.month) + s.date +
         std::to_string(t.day) + " " + std::to_string(t.hour) + s.time +
         std::to_string(t.minute) + s.time + std::to_string(t.second);
}

std::optional<std::string> NewestMonthlyFileText(const std::string& directory,
                                                 FileSystem& files) {
  for (int n = 999; n >= 100; --n) {
    const std::string name = "mth" + std::to_string(n);
    const std::string path = directory + name;
    const std::optional<std::uint64_t> length = files.FileLength(path);
    if (!length || *length <= 20) continue;
    std::string line;
    try {
      line = FirstLine(files.ReadAll(path));
    } catch (const Failure&) {
      // Held open by the main program: an older file would be taken for the
      // newest, so no line at all.
      return std::nullopt;
    }
    const double year = ReadPlainNumber(MidAnsiBytes(line, 32, 2)) + 89;
    return name + " (" + GeneralNumber(year) + "年" + MidAnsiBytes(line, 26, 2) + "月)";
  }
  return std::nullopt;
}

}  // namespace orbin
