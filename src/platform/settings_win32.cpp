#include "platform/settings_win32.h"

#include <windows.h>

#include "platform/codepage.h"

namespace orbin {

std::string Win32SettingsFile::Read(const std::string& section, const std::string& key,
                                    const std::string& default_value, const std::string& path) {
  char buffer[100];
  DWORD n = GetPrivateProfileStringA(ToAnsi(section).c_str(), ToAnsi(key).c_str(),
                                     ToAnsi(default_value).c_str(), buffer, sizeof buffer,
                                     ToAnsi(path).c_str());
  return FromAnsi(std::string_view(buffer, n));
}

bool Win32SettingsFile::Write(const std::string& section, const std::string& key,
                              const std::string& value, const std::string& path) {
  return WritePrivateProfileStringA(ToAnsi(section).c_str(), ToAnsi(key).c_str(),
                                    ToAnsi(value).c_str(), ToAnsi(path).c_str()) != 0;
}

}  // namespace orbin
