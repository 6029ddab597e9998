#pragma once
// What the office window finds out about the installation: where it is, the
// main program and its date, and the newest monthly file.
#include <optional>
#include <string>
#include <string_view>

#include "platform/files.h"

namespace orbin {

// The "Directory" setting, unless it lacks "orbin.exe" while the current
// directory has it: then the current directory with one trailing backslash.
std::string InstallationDirectory(const std::string& directory_setting, FileSystem& files);

// "vexa.exe", or everything after the slash of the first "/vexa" plus ".exe".
std::string MainProgramName(std::string_view argument_text);

struct DateTimeSeparators {
  std::string date = "/";
  std::string time = ":";
};

// Taiwanese year, then "/m/d h:m:s" without leading zeros:
// 17 March 2005 09:05:07 -> "94/3/17 9:5:7".
std::string FileDateText(const FileTime& time, const DateTimeSeparators& separators);

// "mthNNN (YY年MM月)" for the first of mth999 down to mth100 in `directory`
// longer than 20 bytes, from its first line: year from bytes 32-33 plus 89,
// month bytes 26-27 as they are. Nothing when no file qualifies or the
// newest one cannot be read.
std::optional<std::string> NewestMonthlyFileText(const std::string& directory, FileSystem& files);

}  // namespace orbin
