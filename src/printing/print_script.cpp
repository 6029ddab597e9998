#include "printing/print_script.h"

#include <charconv>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>

#include "common/failure.h"
#include "common/lenient_number.h"
#include "common/quoted_value.h"
#include "platform/codepage.h"
#include "printing/print_document_abort.h"
#include "printing/print_script_number.h"
#include "printing/print_script_reader.h"

namespace orbin {
namespace {

enum class Command {
  kEnd, kSize, kFilledBox, kBox, kRelativeLine, kLine, kCircle,
  kUnderlinedText, kContinuedText, kPositionedText, kNewPage,
};

struct Keyword {
  std::string_view text;
  Command command;
};

// Prefix tests in this order: "LineBF" before "LineB" before "Line", and so on.
constexpr Keyword kKeywords[] = {
    {"End", Command::kEnd},
    {"Size", Command::kSize},
    {"LineBF", Command::kFilledBox},
    {"LineB", Command::kBox},
    {"Line-", Command::kRelativeLine},
    {"Line", Command::kLine},
    {"Circle", Command::kCircle},
    {"PrintL", Command::kUnderlinedText},
    {"Print;", Command::kContinuedText},
    {"Print", Command::kPositionedText},
    {"New", Command::kNewPage},
};

const Keyword* MatchKeyword(std::string_view line) {
  if (line.empty()) return nullptr;
  // Most keywords differ from the line in the first letter already.
  for (const Keyword& keyword : kKeywords)
    if (keyword.text.front() == line.front() && line.starts_with(keyword.text)) return &keyword;
  return nullptr;
}

// The rest of a "Size" line after the keyword. Letters that merely lengthen
// the keyword ("Sizes10") are passed over, so that the number after them
// gives the size rather than 0.
std::string_view SizeOperand(std::string_view line) {
  std::string_view operand = line.substr(std::string_view("Size").size());
  auto is_letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
  while (!operand.empty() && is_letter(operand.front())) operand.remove_prefix(1);
  return operand;
}

constexpr const char* kOrdinals[] = {"第一個", "第二個", "第三個", "第四個"};

// What the script held where something else was expected: a description,
// or the text found, quoted (and shortened) by QuotedValue.
constexpr char kFoundEmptyField[] = "空白欄位";
constexpr char kFoundEnd[] = "腳本結尾";

// A fault of the script itself, found on `line`.
struct ScriptFault {
  int line;
  std::string message;
};

bool IsAscii(std::string_view bytes) {
  for (char c : bytes)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

// ASCII is the same in the code page and in UTF-8; only other text needs
// the conversion.
std::string DecodeText(std::string_view bytes) {
  return IsAscii(bytes) ? std::string(bytes) : FromAnsi(bytes);
}

// A text operand as UTF-8: ASCII text is used in place in the script, the
// rest is converted once.
class TextOperand {
 public:
  explicit TextOperand(std::string_view bytes)
      : bytes_(bytes), ascii_(IsAscii(bytes)), decoded_(ascii_ ? std::string() : FromAnsi(bytes)) {}
  std::string_view view() const { return ascii_ ? bytes_ : std::string_view(decoded_); }

 private:
  std::string_view bytes_;
  bool ascii_;
  std::string decoded_;
};

std::string FormatNumber(double value) {
  char buffer[32];
  auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, end);
}

std::optional<std::int16_t> ToInt16(double value) {
  try {
    return RoundToInt16(value);
  } catch (const OverflowFailure&) {
    return std::nullopt;
  }
}

std::optional<float> ToSingle(double value) {
  if (!(std::fabs(value) <= FLT_MAX)) return std::nullopt;
  return static_cast<float>(value);
}

class Interpreter {
 public:
  Interpreter(std::string_view script, std::string_view script_name, DrawingSurface& printer)
      : reader_(script), script_name_(script_name), printer_(printer) {}

  void Run() {
    ReadHeaders();
    Step("開頭空白", std::nullopt, [&] {
      printer_.SetFontSize(8);
      printer_.PrintText(" ");
      printer_.SetFontSize(12);
    });
    while (!reader_.AtEnd()) {
      std::string_view line = reader_.ReadLine();
      const Keyword* keyword = MatchKeyword(line);
      if (keyword == nullptr) continue;
      bool go_on = true;
      Step(keyword->text, reader_.LastLineNumber(), [&] { go_on = Perform(keyword->command, line); });
      if (!go_on) return;
    }
    // Without "End" the document is still sent, so nothing drawn is lost.
    Step("腳本結尾", std::nullopt, [&] { printer_.EndDocument(); });
  }

 private:
  // Runs `action`, turning its faults into the Failure the user sees.
  template <typename Action>
  void Step(std::string_view name, std::optional<int> line, Action action) {
    try {
      action();
    } catch (const ScriptFault& fault) {
      throw Failure(Prefix(name, fault.line) + fault.message + "。");
    } catch (const Failure& failure) {
      throw Failure(Prefix(name, line) + failure.what());
    }
  }

  std::string Prefix(std::string_view name, std::optional<int> line) const {
    std::string prefix(script_name_);
    if (line) prefix += " 第 " + std::to_string(*line) + " 行";
    return prefix + "（" + std::string(name) + "）：";
  }

  void ReadHeaders() {
    if (reader_.AtEnd()) return;
    Step("列印品質", 1, [&] { SetQuality(reader_.ReadLine()); });
    if (reader_.AtEnd()) return;
    Step("列印方向", 2, [&] {
      bool landscape = ReadLenientNumber(reader_.ReadLine()) == 1;
      printer_.SetOrientation(landscape ? Orientation::kLandscape : Orientation::kPortrait);
    });
  }

  void SetQuality(std::string_view line) {
    double value = ReadLenientNumber(line);
    if (std::fabs(value) >= 1 && std::fabs(value) <= 4 && value == std::trunc(value)) {
      printer_.SetQuality(static_cast<std::int16_t>(-std::fabs(value)));
    } else if (value > 4) {
      std::optional<std::int16_t> dots_per_inch = ToInt16(value);
      if (!dots_per_inch)
        throw ScriptFault{1,
                          "列印品質最多是每英吋 32767 點，讀到的是" + QuotedValue(DecodeText(line))};
      printer_.SetQuality(*dots_per_inch);
    }
  }

  // Performs one command; false when it ends the run.
  bool Perform(Command command, std::string_view line) {
    switch (command) {
      case Command::kEnd:
        printer_.EndDocument();
        return false;
      case Command::kSize: {
        double points = ReadLenientNumber(SizeOperand(line));
        std::optional<float> size = ToSingle(points);
        if (!size)
          throw ScriptFault{reader_.LastLineNumber(),
                            "字型大小必須是單精度範圍內的數字，讀到的是" +
                                QuotedValue(FormatNumber(points))};
        printer_.SetFontSize(*size);
        return true;
      }
      case Command::kFilledBox:
        DrawFourFieldLine(LineMode::kFilledBox);
        return true;
      case Command::kBox:
        DrawFourFieldLine(LineMode::kBox);
        return true;
      case Command::kLine:
        DrawFourFieldLine(LineMode::kLine);
        return true;
      case Command::kRelativeLine: {
        float w = Coordinate(0), h = Coordinate(1);
        printer_.Line(std::nullopt, w, h, LineMode::kLine);
        return true;
      }
      case Command::kCircle: {
        float x = Coordinate(0), y = Coordinate(1);
        std::int16_t radius = Whole(2);
        printer_.Circle(Point{x, y}, radius);
        return true;
      }
      case Command::kUnderlinedText:
        PrintUnderlined();
        return true;
      case Command::kContinuedText:
        printer_.PrintText(TextOperand(line.substr(6)).view());
        return true;
      case Command::kPositionedText: {
        float x = Coordinate(0), y = Coordinate(1);
        TextOperand text = TextLine();
        printer_.SetCurrentX(x);
        printer_.SetCurrentY(y);
        printer_.PrintText(text.view());
        return true;
      }
      case Command::kNewPage:
        printer_.NewPage();
        return true;
    }
    return true;
  }

  void DrawFourFieldLine(LineMode mode) {
    float x = Coordinate(0), y = Coordinate(1), w = Coordinate(2);
    std::int16_t h = Whole(3);
    printer_.Line(Point{x, y}, w, h, mode);
  }

  void PrintUnderlined() {
    float x = Coordinate(0), y = Coordinate(1), underline_y = Coordinate(2);
    TextOperand text = TextLine();
    printer_.SetCurrentX(x);
    printer_.SetCurrentY(y);
    printer_.PrintText(text.view());
    double width = static_cast<double>(printer_.CurrentX()) - x;
    std::optional<std::int16_t> length = ToInt16(width);
    if (!length)
      throw ScriptFault{reader_.LastLineNumber(),
                        "底線長度必須是 -32768 到 32767 twips 的整數，讀到的是" +
                            QuotedValue(FormatNumber(width))};
    printer_.Line(Point{x, underline_y}, *length, 0, LineMode::kLine);
  }

  // The numeric field at 0-based `index`.
  double Number(int index, const char* expected, ScriptField& field) {
    std::optional<ScriptField> read = reader_.ReadField();
    if (!read) throw Expected(reader_.LineNumber(), index, expected, kFoundEnd);
    field = *read;
    if (field.text.empty()) throw Expected(field.line, index, expected, kFoundEmptyField);
    std::optional<double> value = ParseFieldNumber(field.text);
    if (!value) throw Expected(field.line, index, expected, QuotedValue(DecodeText(field.text)));
    return *value;
  }

  float Coordinate(int index) {
    constexpr char kExpected[] = "單精度範圍內的數字";
    ScriptField field;
    std::optional<float> value = ToSingle(Number(index, kExpected, field));
    if (!value) throw Expected(field.line, index, kExpected, QuotedValue(DecodeText(field.text)));
    return *value;
  }

  std::int16_t Whole(int index) {
    // The blank sets the number apart from the Chinese text before it.
    constexpr char kExpected[] = " -32768 到 32767 的整數";
    ScriptField field;
    std::optional<std::int16_t> value = ToInt16(Number(index, kExpected, field));
    if (!value) throw Expected(field.line, index, kExpected, QuotedValue(DecodeText(field.text)));
    return *value;
  }

  TextOperand TextLine() {
    if (reader_.AtEnd())
      throw ScriptFault{reader_.LineNumber(),
                        std::string("後面必須有一行文字，讀到的是") + kFoundEnd};
    return TextOperand(reader_.ReadLine());
  }

  // `found`: a quoted value or a description such as kFoundEnd.
  static ScriptFault Expected(int line, int index, const char* expected, const std::string& found) {
    return ScriptFault{line, std::string(kOrdinals[index]) + "欄位必須是" + expected +
                                 "，讀到的是" + found};
  }

  PrintScriptReader reader_;
  std::string_view script_name_;
  DrawingSurface& printer_;
};

}  // namespace

void RunPrintScript(std::string_view ansi_bytes, DrawingSurface& printer,
                    std::string_view script_name) {
  try {
    Interpreter(ansi_bytes, script_name, printer).Run();
  } catch (...) {
    AbortDocumentQuietly(printer);
    throw;
  }
}

void RunPrintScriptFile(FileSystem& files, DrawingSurface& printer) {
  RunPrintScript(files.ReadAll(kPrintScriptFileName), printer,
                 files.FullPath(kPrintScriptFileName));
}

}  // namespace orbin
