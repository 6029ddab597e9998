#include "platform/ansi_lines.h"

#include "platform/codepage.h"

namespace orbin {

std::vector<std::string_view> SplitAnsiLines(std::string_view bytes, LineFeeds line_feeds) {
  const char* ends = line_feeds == LineFeeds::kEndLines ? "\r\n" : "\r";
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (start < bytes.size()) {
    const std::size_t end = bytes.find_first_of(ends, start);
    if (end == std::string_view::npos) {
      lines.push_back(bytes.substr(start));
      break;
    }
    lines.push_back(bytes.substr(start, end - start));
    start = end + 1;
    if (bytes[end] == '\r' && start < bytes.size() && bytes[start] == '\n') ++start;
  }
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
