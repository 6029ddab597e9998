#include "platform/settings_win32.h"

#include <windows.h>

#include "common/failure.h"
#include "platform/codepage.h"
#include "platform/files_win32.h"

namespace orbin {

std::string Win32SettingsFile::Read(const std::string& section, const std::string& key,
                                    const std::string& default_value, const std::string& path) {
  char buffer[100];
  DWORD n = GetPrivateProfileStringA(ToAnsi(section).c_str(), ToAnsi(key).c_str(),
                                     ToAnsi(default_value).c_str(), buffer, sizeof buffer,
                                     ToAnsi(path).c_str());
  return FromAnsi(std::string_view(buffer, n));
}

void Win32SettingsFile::Write(const std::string& section, const std::string& key,
                              const std::string& value, const std::string& path) {
  if (WritePrivateProfileStringA(ToAnsi(section).c_str(), ToAnsi(key).c_str(),
                                 ToAnsi(value).c_str(), ToAnsi(path).c_str()))
    return;
  // A read-only or immutable file: access denied; a file another program
  // holds without sharing: sharing violation.
  const DWORD error = GetLastError();
  throw Failure(FileFailureMessage("無法寫入檔案", Win32FileSystem().FullPath(path), error));
}

}  // namespace orbin
