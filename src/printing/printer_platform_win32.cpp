#include "printing/printer_platform_win32.h"

#include "common/failure.h"
#include "platform/codepage.h"
#include "platform/files_win32.h"
#include "platform/system_libraries_win32.h"
#include "platform/wide_win32.h"

namespace orbin {
namespace {

// Per window: a program that does not answer within this time is skipped.
constexpr UINT kBroadcastTimeoutMs = 1000;

class Win32OpenedPrinter : public OpenedPrinter {
 public:
  explicit Win32OpenedPrinter(HANDLE handle) : handle_(handle) {}
  ~Win32OpenedPrinter() override { Spooler().ClosePrinter(handle_); }
  Win32OpenedPrinter(const Win32OpenedPrinter&) = delete;
  Win32OpenedPrinter& operator=(const Win32OpenedPrinter&) = delete;

  std::optional<PrinterInfo5> GetInfo5() override {
    DWORD needed = 0;
    Spooler().GetPrinterA(handle_, 5, nullptr, 0, &needed);
    if (needed == 0) return std::nullopt;
    // Whole 32-bit words, so the record inside is aligned.
    std::vector<DWORD> buffer(needed / sizeof(DWORD) + 1);
    if (!Spooler().GetPrinterA(handle_, 5, reinterpret_cast<LPBYTE>(buffer.data()),
                               static_cast<DWORD>(buffer.size() * sizeof(DWORD)), &needed))
      return std::nullopt;
    const auto* record = reinterpret_cast<const PRINTER_INFO_5A*>(buffer.data());
    PrinterInfo5 info;
    if (record->pPrinterName) info.printer_name = FromAnsi(record->pPrinterName);
    if (record->pPortName) info.port_name = FromAnsi(record->pPortName);
    info.attributes = record->Attributes;
    info.device_not_selected_timeout = record->DeviceNotSelectedTimeout;
    info.transmission_retry_timeout = record->TransmissionRetryTimeout;
    return info;
  }

  bool SetInfo5(const PrinterInfo5& info) override {
    std::string name = ToAnsi(info.printer_name);
    std::string port = ToAnsi(info.port_name);
    PRINTER_INFO_5A record{};
    record.pPrinterName = name.data();
    record.pPortName = port.data();
    record.Attributes = info.attributes;
    record.DeviceNotSelectedTimeout = info.device_not_selected_timeout;
    record.TransmissionRetryTimeout = info.transmission_retry_timeout;
    return Spooler().SetPrinterA(handle_, 5, reinterpret_cast<LPBYTE>(&record), 0) != 0;
  }

 private:
  HANDLE handle_;
};

// One enumeration at `level` (4 or 2); nothing when the spooler refuses it.
std::optional<std::vector<std::string>> EnumeratePrinters(DWORD level) {
  const DWORD flags = PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS;
  DWORD needed = 0, count = 0;
  const PrinterLibrary& spooler = Spooler();
  spooler.EnumPrintersW(flags, nullptr, level, nullptr, 0, &needed, &count);
  std::vector<DWORD> buffer(needed / sizeof(DWORD) + 1);
  if (!spooler.EnumPrintersW(flags, nullptr, level, reinterpret_cast<LPBYTE>(buffer.data()),
                             static_cast<DWORD>(buffer.size() * sizeof(DWORD)), &needed, &count))
    return std::nullopt;
  std::vector<std::string> names;
  for (DWORD i = 0; i < count; ++i) {
    const wchar_t* name =
        level == 4 ? reinterpret_cast<const PRINTER_INFO_4W*>(buffer.data())[i].pPrinterName
                   : reinterpret_cast<const PRINTER_INFO_2W*>(buffer.data())[i].pPrinterName;
    names.push_back(name ? Narrow(name) : std::string());
  }
  return names;
}

}  // namespace

VersionRecord Win32PrinterPlatform::Version() {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof info;  // 148
  VersionRecord version;
  if (GetVersionExA(&info)) {
    version.major = info.dwMajorVersion;
    version.minor = info.dwMinorVersion;
    version.build = info.dwBuildNumber;
    version.platform_id = info.dwPlatformId;
  }
  return version;
}

std::string Win32PrinterPlatform::GetProfileString(const std::string& section,
                                                   const std::string& key,
                                                   const std::string& default_value,
                                                   std::size_t buffer_chars) {
  std::vector<char> buffer(buffer_chars);
  DWORD n =
      GetProfileStringA(ToAnsi(section).c_str(), ToAnsi(key).c_str(), ToAnsi(default_value).c_str(),
                        buffer.data(), static_cast<DWORD>(buffer.size()));
  return FromAnsi(std::string_view(buffer.data(), n));
}

bool Win32PrinterPlatform::WriteProfileString(const std::string& section, const std::string& key,
                                              const std::string& value) {
  return WriteProfileStringA(ToAnsi(section).c_str(), ToAnsi(key).c_str(), ToAnsi(value).c_str()) !=
         0;
}

void Win32PrinterPlatform::BroadcastSettingsChange(const std::string& section) {
  const std::string ansi = ToAnsi(section);
  DWORD_PTR result = 0;
  SendMessageTimeoutA(HWND_BROADCAST, WM_WININICHANGE, 0, reinterpret_cast<LPARAM>(ansi.c_str()),
                      SMTO_ABORTIFHUNG, kBroadcastTimeoutMs, &result);
}

std::unique_ptr<OpenedPrinter> Win32PrinterPlatform::OpenPrinter(const std::string& device_name) {
  std::string name = ToAnsi(device_name);
  PRINTER_DEFAULTSA defaults{nullptr, nullptr, PRINTER_ALL_ACCESS};
  HANDLE handle = nullptr;
  if (!Spooler().OpenPrinterA(name.data(), &handle, &defaults)) return nullptr;
  return std::make_unique<Win32OpenedPrinter>(handle);
}

std::vector<std::string> InstalledPrinters() {
  if (auto names = EnumeratePrinters(4)) return *names;
  const DWORD level4_error = GetLastError();
  if (auto names = EnumeratePrinters(2)) return *names;
  throw Failure("無法列出已安裝的印表機：" + SystemErrorText(level4_error));
}

std::string DefaultPrinterName() {
  const PrinterLibrary& spooler = Spooler();
  DWORD size = 0;
  spooler.GetDefaultPrinterW(nullptr, &size);
  if (size == 0) throw Failure("印表機錯誤：沒有安裝預設印表機");
  std::wstring name(size, L'\0');
  if (!spooler.GetDefaultPrinterW(name.data(), &size))
    throw Failure("無法讀取預設印表機：" + SystemErrorText(GetLastError()));
  name.resize(size > 0 ? size - 1 : 0);
  return Narrow(name);
}

}  // namespace orbin
