#pragma once
// "ickno", the reader run's status file in the working directory, read and
// written by 1-based byte position:
//   byte 1: mark of the first port ("X" after a failing status, "0" reset)
//   byte 2: mark of the second port
//   byte 3: the port that failed most recently, one digit
#include <cstdint>
#include <string>

#include "platform/files.h"

namespace orbin {

inline constexpr char kStatusFileName[] = "ickno";

// All bytes of the file, creating it empty when missing.
std::string ReadStatusFile(FileSystem& files);

// Writes the ANSI bytes of `text` at 1-based `position`, creating the file
// if needed and extending it with zero bytes up to the position. Throws
// Failure for a position below 1.
void MarkStatusFile(FileSystem& files, std::int16_t position, const std::string& text);

}  // namespace orbin
