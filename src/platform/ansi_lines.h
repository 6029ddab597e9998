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

// Where the line from `start` ends: the place of its line end byte, or the
// size of `ansi_bytes` when it runs to the end.
std::size_t AnsiLineEnd(std::string_view ansi_bytes, std::size_t start, LineFeeds line_feeds);

// Calls `take` with each line of `ansi_bytes` as bytes, without its line
// end, until it returns false (a search stops at its line, however long the
// file); the empty rest after a last line end is no line.
template <typename TakeLine>
void ForEachAnsiLine(std::string_view ansi_bytes, LineFeeds line_feeds, TakeLine&& take) {
  std::size_t start = 0;
  while (start < ansi_bytes.size()) {
    const std::size_t end = AnsiLineEnd(ansi_bytes, start, line_feeds);
    if (!take(ansi_bytes.substr(start, end - start)) || end == ansi_bytes.size()) return;
    start = end + 1;
    if (ansi_bytes[end] == '\r' && start < ansi_bytes.size() && ansi_bytes[start] == '\n') ++start;
  }
}

// The lines of `ansi_bytes` as ForEachAnsiLine finds them.
std::vector<std::string_view> SplitAnsiLines(std::string_view ansi_bytes, LineFeeds line_feeds);

// The bytes of `count` characters of `line` from 0-based character
// `start` (fewer where the line ends), as the system divides the bytes into
// characters: a rule that looks at a few characters of a line decodes just
// those.
std::string_view AnsiChars(std::string_view line, std::size_t start, std::size_t count);

// The same lines, each decoded to UTF-8 on its own.
std::vector<std::string> DecodeLines(std::string_view ansi_bytes, LineFeeds line_feeds);

}  // namespace orbin
