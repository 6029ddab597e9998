#include "printing/print_script_reader.h"

namespace orbin {
namespace {

// A lone line feed is not a line end; like the number reader, fields treat
// it as a blank.
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n'; }

}  // namespace

void PrintScriptReader::SkipLineEnd() {
  if (pos_ >= script_.size() || script_[pos_] != '\r') return;
  ++pos_;
  if (pos_ < script_.size() && script_[pos_] == '\n') ++pos_;
  ++line_;
}

std::string_view PrintScriptReader::ReadLine() {
  std::size_t end = script_.find('\r', pos_);
  if (end == std::string_view::npos) end = script_.size();
  std::string_view line = script_.substr(pos_, end - pos_);
  last_line_ = line_;
  pos_ = end;
  SkipLineEnd();
  return line;
}

std::optional<ScriptField> PrintScriptReader::ReadField() {
  if (AtEnd()) return std::nullopt;
  const char* const end = script_.data() + script_.size();
  const char* first = script_.data() + pos_;
  const char* stop = first;
  while (stop != end && *stop != ',' && *stop != '\r') ++stop;
  const char* last = stop;
  while (first != last && IsBlank(*first)) ++first;
  while (last != first && IsBlank(last[-1])) --last;
  ScriptField field{std::string_view(first, static_cast<std::size_t>(last - first)), line_};
  pos_ = static_cast<std::size_t>(stop - script_.data());
  if (stop != end && *stop == ',')
    ++pos_;
  else
    SkipLineEnd();
  return field;
}

}  // namespace orbin
