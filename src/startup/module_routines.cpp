#include "startup/module_routines.h"

#include "common/failure.h"
#include "platform/codepage.h"

namespace orbin {

std::string ReadIniKey(SettingsFile& settings, const std::string& key,
                       const std::string& default_value, const std::string& path) {
  return settings.Read(kSettingsSection, key, default_value, path);
}

void WaitSeconds(std::int16_t seconds, Clock& clock, EventPump& events) {
  const std::int64_t until = clock.Now().SerialSeconds() + seconds;
  while (until > clock.Now().SerialSeconds()) events.DispatchPending();
}

std::string MidBytes(const std::string& text, std::int32_t start, std::int32_t width) {
  return MidAnsiBytes(ToAnsi(text), start, width);
}

std::string MidAnsiBytes(std::string_view ansi_bytes, std::int32_t start, std::int32_t width) {
  if (start < 1) throw Failure("程序呼叫無效：位元組位置 " + std::to_string(start));
  if (width < 0) throw Failure("程序呼叫無效：寬度 " + std::to_string(width));
  std::string bytes = std::string(ansi_bytes) + std::string(width, ' ');
  std::size_t from = static_cast<std::size_t>(start) - 1;
  if (from >= bytes.size()) return {};
  return FromAnsi(bytes.substr(from, static_cast<std::size_t>(width)));
}

}  // namespace orbin
