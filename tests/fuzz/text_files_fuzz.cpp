// Text files the main system writes for this program to read: the text file
// "/HH/" prints line by line, and the first line of a monthly file "mthNNN"
// the office window reads the month from.
#include <string>

#include "fakes/fake_platform.h"
#include "fakes/recording_surface.h"
#include "fuzz_support.h"
#include "officeinfo/installation_facts.h"
#include "startup/print_text_file.h"

using namespace orbin;

namespace {

// CR LF, CR and LF each end one line; a last line without an end counts.
std::size_t ExpectedLineCount(std::string_view bytes) {
  std::size_t lines = 0, i = 0, start = 0;
  for (; i < bytes.size(); ++i) {
    if (bytes[i] != '\r' && bytes[i] != '\n') continue;
    ++lines;
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
    start = i + 1;
  }
  return lines + (start < bytes.size() ? 1 : 0);
}

void CheckTextFile(const std::string& bytes) {
  const std::vector<std::string> lines = SplitTextLines(bytes);
  fuzz::Require(lines.size() == ExpectedLineCount(bytes), "every line end ends one line", bytes);
  for (const std::string& line : lines)
    fuzz::Require(line.find_first_of("\r\n") == std::string::npos, "a line holds no line end", bytes);
  testing::RecordingSurface printer;
  PrintTextFile(lines, printer);
  std::size_t texts = 0;
  for (const std::string& op : printer.operations) texts += op.starts_with("text ");
  fuzz::Require(texts == lines.size() && printer.operations.size() >= lines.size() + 3 &&
                    printer.operations[0] == "orientation 2" && printer.operations[1] == "font 12" &&
                    printer.operations.back() == "enddoc",
                "landscape pages with one text per line at 12 points, then the document is sent",
                bytes);
}

// The newest monthly file mth999 holds the input, the older mth997 a month
// of its own; there is no mth998. The scan takes the newest file longer than
// 20 bytes: mth999, or past it (and past the missing name) mth997. An empty
// mth999 comes without the older file, so the scan runs through every name.
// (A file low in the range would have every input pay for the scan.)
void CheckMonthlyFile(const std::string& bytes) {
  testing::FakeFileSystem files;
  files.files["C:\\vexa\\mth999"] = bytes;
  if (!bytes.empty()) files.files["C:\\vexa\\mth997"] = std::string(25, ' ') + "07    25\r\n";
  const std::optional<std::string> text = NewestMonthlyFileText("C:\\vexa\\", files);
  if (bytes.size() > 20) {
    fuzz::Require(text && text->starts_with("mth999 (") && text->ends_with("月)"),
                  "a monthly file longer than 20 bytes gives \"mthNNN (YY年MM月)\"",
                  text.value_or("(none)"));
  } else if (!bytes.empty()) {
    fuzz::Require(text == "mth997 (114年07月)", "a monthly file of 20 bytes or less is passed over",
                  text.value_or("(none)"));
  } else {
    fuzz::Require(!text, "without a monthly file longer than 20 bytes there is no month", *text);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(fuzz::AsText(data, size));
  CheckTextFile(bytes);
  CheckMonthlyFile(bytes);
  return 0;
}
