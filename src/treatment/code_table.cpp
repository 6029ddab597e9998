#include "treatment/code_table.h"

#include "common/text.h"
#include "platform/ansi_lines.h"

namespace orbin {
namespace {

// Character positions of a table line, counted from 0: the letter at
// position 1, the per-tooth flag at 3, the code at 21 to 28.
constexpr std::size_t kLetterIndex = 0;
constexpr std::size_t kPerToothFlagIndex = 2;
constexpr std::size_t kCodeIndex = 20;
constexpr std::size_t kCodeWidth = 8;

// The table's lines, or none when the file is absent. A table that exists
// but cannot be read is a failure of the run, not an empty table: a silent
// "-" would put a wrong code into the claim.
std::vector<std::string> ReadTableLines(FileSystem& files) {
  if (!files.FileExists(kCodeTableFileName)) return {};
  return CodeTableLines(files.ReadAll(kCodeTableFileName));
}

}  // namespace

std::vector<std::string> CodeTableLines(std::string_view table_bytes) {
  return DecodeLines(table_bytes, LineFeeds::kInLine);
}

std::string LoadPerToothLetters(FileSystem& files) {
  std::string letters = kFixedPerToothLetters;
  for (const std::string& line : ReadTableLines(files)) {
    if (CharSubstr(line, kPerToothFlagIndex, 1) == "1") letters += CharSubstr(line, kLetterIndex, 1);
  }
  return letters;
}

std::string LookupTreatmentCode(FileSystem& files, std::string_view code_letter) {
  for (const std::string& line : ReadTableLines(files)) {
    if (CharSubstr(line, kLetterIndex, 1) != code_letter) continue;
    std::string code = TrimSpaces(CharSubstr(line, kCodeIndex, kCodeWidth));
    return code.empty() ? "-;" : code + ";";
  }
  return "-;";
}

}  // namespace orbin
