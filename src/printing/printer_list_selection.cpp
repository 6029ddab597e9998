#include "printing/printer_list_selection.h"

namespace orbin {

void PrinterListSelection::Combo1_Click(const std::string& combo_text, WindowCaption& caption) {
  caption.SetCaption(kCaptionSwitchingPrinter);
  if (!switcher_) switcher_.emplace(platform_);
  switcher_->SetPrinterAsDefault(combo_text);
  caption.SetCaption(kCaptionChoosePrinter);
}

}  // namespace orbin
