#pragma once
// The texts the office window draws on its persistent surface at load
// (`Command2_Click`), in drawing order, and the office name for `Label3`.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "officeinfo/installation_facts.h"
#include "platform/files.h"
#include "platform/settings.h"

namespace orbin {

using Colour = std::uint32_t;  // &H00BBGGRR
inline constexpr Colour kBlack = 0x00000000;
inline constexpr Colour kWhite = 0x00FFFFFF;
inline constexpr Colour kGrey = 0x00808080;
inline constexpr Colour kRed = 0x000000FF;
inline constexpr Colour kYellow = 0x0000FFFF;
inline constexpr Colour kGreen = 0x0000C000;
inline constexpr Colour kBlue = 0x00FF0000;

inline constexpr char kOfficeSettingsPath[] = "c:\\vexa.ini";
inline constexpr char kDefaultInstallDirectory[] = "c:\\vexa\\";

// One text with the top-left corner of its first line at (x, y), twips from
// the window's top-left corner, on a transparent background.
struct InfoText {
  std::string text;
  std::int16_t x = 0, y = 0;
  Colour colour = kBlack;
  float font_size = 12;
  bool raised = false;  // `RaisFrmText` rather than `WrtText`
  bool operator==(const InfoText&) const = default;
};

struct OfficeInfo {
  std::string label3_caption;  // office name, spaces trimmed
  std::vector<InfoText> texts;
};

OfficeInfo DescribeOfficeInfo(std::string_view argument_text, SettingsFile& settings,
                              FileSystem& files, const DateTimeSeparators& separators = {});

// The plain draws that make one text: itself for `WrtText`; for
// `RaisFrmText` a white copy 13 twips up-left, a grey one 13 twips
// down-right, then the text in its colour. Throws OverflowFailure when an
// offset leaves the 16-bit range.
std::vector<InfoText> TextLayers(const InfoText& text);

}  // namespace orbin
