#pragma once
// INI settings files of the main system, through the platform's
// private-profile functions (values in the ANSI code page on disk, UTF-8
// here).
#include <string>

namespace orbin {

class SettingsFile {
 public:
  virtual ~SettingsFile() = default;
  // The value of `key` in section `section` of `path`, read into a 100-byte
  // buffer (at most 99 bytes of its ANSI form), or `default_value`.
  virtual std::string Read(const std::string& section, const std::string& key,
                           const std::string& default_value,
                           const std::string& path) = 0;
  // Stores `value` as `key` of `section` in `path`. Throws Failure naming
  // the file by its full path and the system's reason when the platform
  // refused the write (a read-only or locked file, a full disk).
  virtual void Write(const std::string& section, const std::string& key,
                     const std::string& value, const std::string& path) = 0;
};

}  // namespace orbin
