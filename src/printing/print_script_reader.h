#pragma once
// Reading the print script "print2vb" the way its writer lays it out: whole
// lines (ended by CR or CR LF) and operand fields (ended by a comma or a
// line end). Works on the ANSI bytes; the delimiters are ASCII and never
// occur inside a code page 950 character.
#include <optional>
#include <string_view>

namespace orbin {

struct ScriptField {
  std::string_view text;  // blanks and tabs around it removed
  int line = 0;           // 1-based line the field stands on
};

class PrintScriptReader {
 public:
  explicit PrintScriptReader(std::string_view script) : script_(script) {}

  bool AtEnd() const { return pos_ >= script_.size(); }
  // 1-based number of the line holding the read position.
  int LineNumber() const { return line_; }
  // 1-based number of the line ReadLine returned last.
  int LastLineNumber() const { return last_line_; }

  // From the read position to the next line end, which is consumed but not
  // returned. Call only when not AtEnd().
  std::string_view ReadLine();
  // The next field, or nothing when the script has ended.
  std::optional<ScriptField> ReadField();

 private:
  // A lone line feed is not a line end; like the number reader, fields
  // treat it as a blank.
  static bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n'; }
  // Consumes a line end at the read position, if there is one.
  void SkipLineEnd();

  std::string_view script_;
  std::size_t pos_ = 0;
  int line_ = 1;
  int last_line_ = 0;
};

// Defined here so that the interpreter's loop over hundreds of thousands of
// lines and fields has them inline.

inline void PrintScriptReader::SkipLineEnd() {
  if (pos_ >= script_.size() || script_[pos_] != '\r') return;
  ++pos_;
  if (pos_ < script_.size() && script_[pos_] == '\n') ++pos_;
  ++line_;
}

inline std::string_view PrintScriptReader::ReadLine() {
  std::size_t end = script_.find('\r', pos_);
  if (end == std::string_view::npos) end = script_.size();
  std::string_view line = script_.substr(pos_, end - pos_);
  last_line_ = line_;
  pos_ = end;
  SkipLineEnd();
  return line;
}

inline std::optional<ScriptField> PrintScriptReader::ReadField() {
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
