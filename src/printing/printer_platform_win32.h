#pragma once
// The printers of this PC through the spooler and the user's profile:
// the switcher's platform (ANSI "A" calls, as the main system's profile
// values are code page bytes), the installed-printer list and the current
// default printer's name.
#include <windows.h>
#include <winspool.h>

#include <string>
#include <vector>

#include "printing/printer_platform.h"

// The platform headers map these names to their W calls; here they name the
// switcher's platform operations (see printer_platform.h).
#undef GetProfileString
#undef WriteProfileString
#undef OpenPrinter

namespace orbin {

class Win32PrinterPlatform : public PrinterPlatform {
 public:
  VersionRecord Version() override;
  std::string GetProfileString(const std::string& section, const std::string& key,
                               const std::string& default_value, std::size_t buffer_chars) override;
  bool WriteProfileString(const std::string& section, const std::string& key,
                          const std::string& value) override;
  void BroadcastSettingsChange(const std::string& section) override;
  std::unique_ptr<OpenedPrinter> OpenPrinter(const std::string& device_name) override;
};

// Device names of the local and connected printers in the spooler's
// enumeration order. Throws Failure when the spooler cannot list them.
std::vector<std::string> InstalledPrinters();

// The device name of the current default printer. Throws Failure when there
// is none.
std::string DefaultPrinterName();

}  // namespace orbin
