#pragma once
// Makes a named installed printer the user's default printer; the change
// stays in force after the program ends.
#include <string>

#include "printing/printer_platform.h"

namespace orbin {

class cSetDfltPrinter {
 public:
  // Reads the current default printer from the profile.
  explicit cSetDfltPrinter(PrinterPlatform& platform);

  // True when `DeviceName` is, or has now been made, the default; false when
  // nothing was changed.
  bool SetPrinterAsDefault(const std::string& DeviceName);

  // The printer this switcher last knew to be the default.
  const std::string& CurrentDevice() const { return CurrentDevice_; }

 private:
  enum class Method { kNone, kSpooler, kProfile };
  static Method MethodFor(const VersionRecord& version);

  bool SetBySpooler(const std::string& DeviceName);
  bool SetByProfile(const std::string& DeviceName);

  PrinterPlatform& platform_;
  std::string CurrentDevice_;
};

}  // namespace orbin
