#pragma once
// "/Printers/": the installed printers listed for the main system in
// "Printers.txt" (ANSI code page, CR LF): the default printer's device name
// first, then every printer's device name in enumeration order.
#include <string>
#include <vector>

#include "platform/files.h"

namespace orbin {

inline constexpr char kPrinterListFileName[] = "Printers.txt";

std::string PrinterListFileBytes(const std::string& default_printer,
                                 const std::vector<std::string>& printers);

// Replaces "Printers.txt" in the working directory whole or not at all.
// Throws Failure when it cannot be written.
void WritePrinterListFile(FileSystem& files, const std::string& default_printer,
                          const std::vector<std::string>& printers);

}  // namespace orbin
