#pragma once
// `Combo1_Click` of the printer settings window: the selected printer
// becomes the system default through the window's one switcher.
#include <optional>
#include <string>

#include "printing/default_printer_switcher.h"
#include "printing/printer_platform.h"

namespace orbin {

inline constexpr char kCaptionSwitchingPrinter[] = "印表機 設定中 ...........";
inline constexpr char kCaptionChoosePrinter[] = "請設定 選擇以下印表機";

class WindowCaption {
 public:
  virtual ~WindowCaption() = default;
  virtual void SetCaption(const std::string& caption) = 0;
};

class PrinterListSelection {
 public:
  explicit PrinterListSelection(PrinterPlatform& platform) : platform_(platform) {}

  // The switcher is created at the first selection (its creation reads the
  // current default) and kept for the window's life. A failed switch is not
  // reported; the caption changes all the same.
  void Combo1_Click(const std::string& combo_text, WindowCaption& caption);

 private:
  PrinterPlatform& platform_;
  std::optional<cSetDfltPrinter> switcher_;
};

}  // namespace orbin
