#include "printing/default_printer_switcher.h"

namespace orbin {
namespace {

constexpr char kWindowsSection[] = "windows";
constexpr char kDeviceKey[] = "Device";
constexpr char kPrinterPortsSection[] = "PrinterPorts";
constexpr std::size_t kDeviceBufferChars = 8192;
constexpr std::size_t kPrinterPortsBufferChars = 1024;

// The text before the first comma; all of it when there is none, so that a
// bare device name in the profile still counts as the default printer.
std::string DeviceNamePart(const std::string& device_value) {
  return device_value.substr(0, device_value.find(','));
}

}  // namespace

cSetDfltPrinter::cSetDfltPrinter(PrinterPlatform& platform)
    : platform_(platform),
      CurrentDevice_(DeviceNamePart(
          platform.GetProfileString(kWindowsSection, kDeviceKey, "", kDeviceBufferChars))) {}

cSetDfltPrinter::Method cSetDfltPrinter::MethodFor(const VersionRecord& v) {
  if (v.major == 3 && v.minor == 51 && v.build == 1057 && v.platform_id == kPlatformWindowsNt)
    return Method::kProfile;
  if (v.major == 4 && v.platform_id == kPlatformWindows9x) return Method::kSpooler;
  if (v.major == 4 && v.minor == 0 && v.build == 1381 && v.platform_id == kPlatformWindowsNt)
    return Method::kProfile;
  if (v.major > 4) return Method::kProfile;
  return Method::kNone;
}

bool cSetDfltPrinter::SetPrinterAsDefault(const std::string& DeviceName) {
  const VersionRecord version = platform_.Version();
  if (DeviceName == CurrentDevice_) return true;
  switch (MethodFor(version)) {
    case Method::kSpooler:
      return SetBySpooler(DeviceName);
    case Method::kProfile:
      return SetByProfile(DeviceName);
    case Method::kNone:
      break;
  }
  return false;
}

bool cSetDfltPrinter::SetBySpooler(const std::string& DeviceName) {
  if (DeviceName.empty()) return false;
  std::unique_ptr<OpenedPrinter> printer = platform_.OpenPrinter(DeviceName);
  if (!printer) return false;
  std::optional<PrinterInfo5> info = printer->GetInfo5();
  if (!info) return false;
  // The default bit is added: the printer's other attributes (sharing,
  // queuing, ...) are its configuration and stay as they are.
  info->attributes |= kPrinterAttributeDefault;
  if (!printer->SetInfo5(*info)) return false;
  CurrentDevice_ = DeviceName;
  return true;
}

bool cSetDfltPrinter::SetByProfile(const std::string& DeviceName) {
  if (DeviceName.empty()) return false;
  // "driver,port[,further fields]"
  const std::string ports =
      platform_.GetProfileString(kPrinterPortsSection, DeviceName, "", kPrinterPortsBufferChars);
  const std::size_t first_comma = ports.find(',');
  if (first_comma == std::string::npos) return false;
  const std::size_t second_comma = ports.find(',', first_comma + 1);
  if (second_comma == std::string::npos) return false;
  const std::string driver = ports.substr(0, first_comma);
  const std::string port = ports.substr(first_comma + 1, second_comma - first_comma - 1);
  if (driver.empty() || port.empty()) return false;

  if (!platform_.WriteProfileString(kWindowsSection, kDeviceKey,
                                    DeviceName + "," + driver + "," + port))
    return false;
  platform_.BroadcastSettingsChange(kWindowsSection);
  CurrentDevice_ = DeviceName;
  return true;
}

}  // namespace orbin
