#include "platform/ansi_lines.h"

#include <algorithm>

#include "platform/codepage.h"

namespace orbin {

std::size_t AnsiLineEnd(std::string_view bytes, std::size_t start, LineFeeds line_feeds) {
  if (line_feeds == LineFeeds::kInLine) return std::min(bytes.find('\r', start), bytes.size());
  std::size_t end = start;
  while (end < bytes.size() && bytes[end] != '\r' && bytes[end] != '\n') ++end;
  return end;
}

std::vector<std::string_view> SplitAnsiLines(std::string_view bytes, LineFeeds line_feeds) {
  std::vector<std::string_view> lines;
  ForEachAnsiLine(bytes, line_feeds, [&](std::string_view line) {
    lines.push_back(line);
    return true;
  });
  return lines;
}

std::string_view AnsiChars(std::string_view line, std::size_t start, std::size_t count) {
  std::size_t from = 0;
  for (std::size_t skipped = 0; skipped < start && from < line.size(); ++skipped)
    from += AnsiCharSize(line, from);
  std::size_t to = from;
  for (std::size_t taken = 0; taken < count && to < line.size(); ++taken) to += AnsiCharSize(line, to);
  return line.substr(from, to - from);
}

std::vector<std::string> DecodeLines(std::string_view ansi_bytes, LineFeeds line_feeds) {
  std::vector<std::string> lines;
  for (std::string_view line : SplitAnsiLines(ansi_bytes, line_feeds))
    lines.push_back(FromAnsi(line));
  return lines;
}

}  // namespace orbin
