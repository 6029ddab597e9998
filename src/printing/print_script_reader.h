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
  // Consumes a line end at the read position, if there is one.
  void SkipLineEnd();

  std::string_view script_;
  std::size_t pos_ = 0;
  int line_ = 1;
  int last_line_ = 0;
};

}  // namespace orbin
