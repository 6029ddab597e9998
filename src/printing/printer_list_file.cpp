#include "printing/printer_list_file.h"

#include "platform/codepage.h"

namespace orbin {

std::string PrinterListFileBytes(const std::string& default_printer,
                                 const std::vector<std::string>& printers) {
  std::string bytes = ToAnsi(default_printer) + "\r\n";
  for (const std::string& printer : printers) bytes += ToAnsi(printer) + "\r\n";
  return bytes;
}

void WritePrinterListFile(FileSystem& files, const std::string& default_printer,
                          const std::vector<std::string>& printers) {
  files.WriteWhole(kPrinterListFileName, PrinterListFileBytes(default_printer, printers));
}

}  // namespace orbin
