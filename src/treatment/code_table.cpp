#include "treatment/code_table.h"

#include "common/text.h"
#include "platform/ansi_lines.h"
#include "platform/codepage.h"

namespace orbin {
namespace {

// Character positions of a table line, counted from 0: the letter at
// position 1, the per-tooth flag at 3, the code at 21 to 28.
constexpr std::size_t kLetterIndex = 0;
constexpr std::size_t kPerToothFlagIndex = 2;
constexpr std::size_t kCodeIndex = 20;
constexpr std::size_t kCodeWidth = 8;

// The table's bytes, or none when the file is absent. A table that exists
// but cannot be read is a failure of the run, not an empty table: a silent
// "-" would put a wrong code into the claim.
std::string ReadTable(FileSystem& files) {
  if (!files.FileExists(kCodeTableFileName)) return {};
  return files.ReadAll(kCodeTableFileName);
}

// Characters of a table line, decoded on their own: the table is read at
// every key, and a rule looks at one to eight characters of each line.
std::string LineChars(std::string_view line, std::size_t start, std::size_t count) {
  return FromAnsi(AnsiChars(line, start, count));
}

}  // namespace

std::vector<std::string> CodeTableLines(std::string_view table_bytes) {
  return DecodeLines(table_bytes, LineFeeds::kInLine);
}

std::string LoadPerToothLetters(FileSystem& files) {
  std::string letters = kFixedPerToothLetters;
  const std::string table = ReadTable(files);
  ForEachAnsiLine(table, LineFeeds::kInLine, [&](std::string_view line) {
    if (AnsiChars(line, kPerToothFlagIndex, 1) == "1") letters += LineChars(line, kLetterIndex, 1);
    return true;
  });
  return letters;
}

std::string LookupTreatmentCode(FileSystem& files, std::string_view code_letter) {
  const std::string table = ReadTable(files);
  std::string code;
  ForEachAnsiLine(table, LineFeeds::kInLine, [&](std::string_view line) {
    if (LineChars(line, kLetterIndex, 1) != code_letter) return true;
    code = TrimSpaces(LineChars(line, kCodeIndex, kCodeWidth));
    return false;
  });
  return code.empty() ? "-;" : code + ";";
}

}  // namespace orbin
