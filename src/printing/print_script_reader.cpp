#include "printing/print_script_reader.h"

namespace orbin {
namespace {

// A lone line feed is not a line end; like the number reader, fields treat
// it as a blank.
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n'; }

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

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
  ScriptField field;
  field.line = line_;
  std::size_t end = pos_;
  while (end < script_.size() && script_[end] != ',' && script_[end] != '\r') ++end;
  field.text = TrimBlanks(script_.substr(pos_, end - pos_));
  pos_ = end;
  if (pos_ < script_.size() && script_[pos_] == ',')
    ++pos_;
  else
    SkipLineEnd();
  return field;
}

}  // namespace orbin
