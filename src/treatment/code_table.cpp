#include "treatment/code_table.h"

#include "common/text.h"
#include "platform/codepage.h"

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
  return SplitTableLines(FromAnsi(files.ReadAll(kCodeTableFileName)));
}

}  // namespace

std::vector<std::string> SplitTableLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t cr = text.find('\r', start);
    if (cr == std::string_view::npos) {
      lines.emplace_back(text.substr(start));
      break;
    }
    lines.emplace_back(text.substr(start, cr - start));
    start = cr + 1;
    if (start < text.size() && text[start] == '\n') ++start;
  }
  return lines;
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
