#pragma once
// The code table "treat.dat" of the working directory: per code letter the
// treatment code an item carries and whether the letter takes one further
// character per tooth. Lines are read as decoded characters, so a Chinese
// character before the code field counts as one position.
#include <string>
#include <string_view>
#include <vector>

#include "platform/files.h"

namespace orbin {

inline constexpr char kCodeTableFileName[] = "treat.dat";
// The letters that always take per-tooth characters, whatever the table says.
inline constexpr char kFixedPerToothLetters[] = "ALPFZR";

// The table's lines, split at CR or CR LF (a bare LF stays in its line) in
// bytes and then each decoded; the empty rest after a final line end is no
// line.
std::vector<std::string> CodeTableLines(std::string_view table_bytes);

// "ALPFZR" followed by the first character of every line flagged "1" at
// position 3, in file order. A missing table gives the fixed six.
std::string LoadPerToothLetters(FileSystem& files);

// The code field of the first line whose first character is `code_letter`
// (positions 21..28, spaces trimmed) followed by ";", or "-;" when there is
// no table, no such line, or that line's code is blank.
std::string LookupTreatmentCode(FileSystem& files, std::string_view code_letter);

}  // namespace orbin
