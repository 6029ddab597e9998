#include "startup/print_text_file.h"

#include "platform/codepage.h"

namespace orbin {

std::vector<std::string> SplitTextLines(const std::string& bytes) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] != '\r' && bytes[i] != '\n') continue;
    lines.push_back(FromAnsi(std::string_view(bytes).substr(start, i - start)));
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < bytes.size()) lines.push_back(FromAnsi(std::string_view(bytes).substr(start)));
  return lines;
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
