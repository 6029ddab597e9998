#include "startup/print_text_file.h"

#include "platform/ansi_lines.h"

namespace orbin {

std::vector<std::string> SplitTextLines(const std::string& bytes) {
  return DecodeLines(bytes, LineFeeds::kEndLines);
}

void PrintTextFile(const std::vector<std::string>& lines, DrawingSurface& printer) {
  printer.SetOrientation(Orientation::kLandscape);
  printer.SetFontSize(kTextFilePoints);
  for (const std::string& line : lines) {
    const float top = printer.CurrentY();
    if (top > 0 && top + printer.LineHeight() > printer.PageHeight()) printer.NewPage();
    printer.PrintText(line);
    printer.EndLine();
  }
  printer.EndDocument();
}

}  // namespace orbin
