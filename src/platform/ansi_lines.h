#pragma once
// Lines of the main system's text files, split at their line ends in bytes
// before anything is decoded. The system's conversion takes the byte after a
// lead byte as that character's second byte whatever it is, so a line that
// ends in half a character, decoded together with its line end, swallows
// the line end and runs into the next line. A line end byte (CR, LF) never
// is the second byte of a code page 950 character, so the split in bytes is
// always the writer's.
#include <string>
#include <string_view>
#include <vector>

namespace orbin {

enum class LineFeeds {
  kInLine,    // CR LF and CR end a line; a lone LF belongs to its line
  kEndLines,  // a lone LF ends a line too
};

// The lines of `ansi_bytes` as bytes, without their line ends; the empty
// rest after a last line end is no line.
std::vector<std::string_view> SplitAnsiLines(std::string_view ansi_bytes, LineFeeds line_feeds);

// The bytes of `count` characters of `line` from 0-based character
// `start` (fewer where the line ends), as the system divides the bytes into
// characters: a rule that looks at a few characters of a line decodes just
// those.
std::string_view AnsiChars(std::string_view line, std::size_t start, std::size_t count);

// The same lines, each decoded to UTF-8 on its own.
std::vector<std::string> DecodeLines(std::string_view ansi_bytes, LineFeeds line_feeds);

}  // namespace orbin
