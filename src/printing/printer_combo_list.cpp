#include "printing/printer_combo_list.h"

namespace orbin {

PrinterListContents& PrinterComboList::Contents() {
  if (!loaded_) {
    contents_ = load_();
    loaded_ = true;
  }
  return contents_;
}

bool PrinterComboList::Insert(const std::string& name, int index) {
  std::vector<std::string>& printers = Contents().printers;
  if (index < -1 || index > static_cast<int>(printers.size())) return false;
  printers.insert(index == -1 ? printers.end() : printers.begin() + index, name);
  return true;
}

bool PrinterComboList::Select(int index) {
  PrinterListContents& contents = Contents();
  if (index < 0 || index >= static_cast<int>(contents.printers.size())) return false;
  contents.default_printer = contents.printers[static_cast<std::size_t>(index)];
  return true;
}

}  // namespace orbin
