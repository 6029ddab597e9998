#pragma once
// `Combo1` of the printer settings window while the window itself has not
// been created: the installed printers and the default printer's name. The
// print system is asked for them the first time something reads or changes
// the list, so the print jobs, which never look at it, do not pay for it
// (on a practice PC with network printers that can take seconds).
#include <functional>
#include <string>
#include <vector>

namespace orbin {

struct PrinterListContents {
  std::vector<std::string> printers;  // device names in enumeration order
  std::string default_printer;        // the list's text
};

class PrinterComboList {
 public:
  // `load` fills the list as the window's load does; a step that fails is
  // left out there, so `load` returns what it could read.
  explicit PrinterComboList(std::function<PrinterListContents()> load) : load_(std::move(load)) {}

  const std::vector<std::string>& Entries() { return Contents().printers; }
  const std::string& Text() { return Contents().default_printer; }

  // As the list control: `index` -1 appends; an index past the end is
  // refused (false).
  bool Insert(const std::string& name, int index);
  // Selects an entry; its name becomes the list's text. False for a
  // position the list does not have.
  bool Select(int index);

  bool Loaded() const { return loaded_; }

 private:
  PrinterListContents& Contents();

  std::function<PrinterListContents()> load_;
  PrinterListContents contents_;
  bool loaded_ = false;
};

}  // namespace orbin
