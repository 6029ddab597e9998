#pragma once
// What the default-printer switcher needs from the platform: the version
// record, the user's profile entries, the settings-changed notice and the
// print spooler. Strings are UTF-8 here; the Win32 side converts them to the
// ANSI code page for the "A" calls.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

// The Windows headers map these names to their W calls; here they name this
// interface's own operations, whichever header comes first.
#undef GetProfileString
#undef WriteProfileString
#undef OpenPrinter

namespace orbin {

inline constexpr std::uint32_t kPlatformWindows9x = 1;
inline constexpr std::uint32_t kPlatformWindowsNt = 2;

struct VersionRecord {
  std::uint32_t major = 0;
  std::uint32_t minor = 0;
  std::uint32_t build = 0;
  std::uint32_t platform_id = 0;
};

// The spooler's level-5 printer record.
struct PrinterInfo5 {
  std::string printer_name;
  std::string port_name;
  std::uint32_t attributes = 0;
  std::uint32_t device_not_selected_timeout = 0;
  std::uint32_t transmission_retry_timeout = 0;
};

inline constexpr std::uint32_t kPrinterAttributeDefault = 4;

// A printer opened through the spooler with full access; destroying it
// closes the printer.
class OpenedPrinter {
 public:
  virtual ~OpenedPrinter() = default;
  // The level-5 record (the Win32 side asks for the size first and reads into
  // a buffer of that size), or nothing when the spooler refuses.
  virtual std::optional<PrinterInfo5> GetInfo5() = 0;
  // Writes the level-5 record (command 0); false when the spooler refuses.
  virtual bool SetInfo5(const PrinterInfo5& info) = 0;
};

class PrinterPlatform {
 public:
  virtual ~PrinterPlatform() = default;

  // The version record; a failed query gives an all-zero record.
  virtual VersionRecord Version() = 0;

  // A value of the user's profile (win.ini-style sections), read into a
  // buffer of `buffer_chars` characters, or `default_value`.
  virtual std::string GetProfileString(const std::string& section, const std::string& key,
                                       const std::string& default_value,
                                       std::size_t buffer_chars) = 0;
  // False when the platform refused the write.
  virtual bool WriteProfileString(const std::string& section, const std::string& key,
                                  const std::string& value) = 0;

  // Tells all top-level windows that profile section `section` changed.
  // The Win32 side sends the notice with a timeout that skips hung windows,
  // so a hung program elsewhere cannot hang this one.
  virtual void BroadcastSettingsChange(const std::string& section) = 0;

  // Opens printer `device_name` with full access; nullptr when refused.
  virtual std::unique_ptr<OpenedPrinter> OpenPrinter(const std::string& device_name) = 0;
};

}  // namespace orbin
