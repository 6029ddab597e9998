#pragma once
#include "platform/settings.h"

namespace orbin {

// INI files through the ANSI private-profile calls, so values are exactly
// the code page bytes the main system wrote.
class Win32SettingsFile : public SettingsFile {
 public:
  std::string Read(const std::string& section, const std::string& key,
                   const std::string& default_value, const std::string& path) override;
  void Write(const std::string& section, const std::string& key, const std::string& value,
             const std::string& path) override;
};

}  // namespace orbin
