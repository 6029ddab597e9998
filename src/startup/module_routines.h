#pragma once
// Small routines several jobs share: keys of section "VexaDent", waiting
// while the windows stay alive, and byte-positioned fields.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/clock.h"
#include "platform/settings.h"

namespace orbin {

inline constexpr char kSettingsSection[] = "VexaDent";
inline constexpr char kSettingsFileName[] = "VexaSys.ini";

// One key of section "VexaDent" of `path` (at most 99 bytes of its ANSI
// form), or `default_value`.
std::string ReadIniKey(SettingsFile& settings, const std::string& key,
                       const std::string& default_value, const std::string& path);

// Waits until the clock's whole second reaches start + seconds, dispatching
// window events between tests; 0 returns at once.
void WaitSeconds(std::int16_t seconds, Clock& clock, EventPump& events);

// `width` bytes from 1-based byte `start` of the ANSI form of `text` (padded
// with spaces), converted back. Throws Failure for a start below 1.
std::string MidBytes(const std::string& text, std::int32_t start, std::int32_t width);

// The same field cut from code page bytes as a file holds them, then
// decoded: bytes before the field count as they stand, even where they are
// no whole character.
std::string MidAnsiBytes(std::string_view ansi_bytes, std::int32_t start, std::int32_t width);

}  // namespace orbin
