#include "officeinfo/office_info.h"

#include "common/lenient_number.h"
#include "common/text.h"
#include "officeinfo/maker_contact.h"
#include "startup/module_routines.h"

namespace orbin {

OfficeInfo DescribeOfficeInfo(std::string_view argument_text, SettingsFile& settings,
                              FileSystem& files, const DateTimeSeparators& separators) {
  auto setting = [&](const char* key, const char* default_value = "") {
    return ReadIniKey(settings, key, default_value, kOfficeSettingsPath);
  };
  OfficeInfo info;
  std::vector<InfoText>& texts = info.texts;
  texts.push_back({setting("OfficeCode"), 2300, 500, kYellow, 18, true});
  info.label3_caption = TrimSpaces(setting("OfficeName"));
  auto write = [&](std::string text, std::int16_t x, std::int16_t y, Colour colour) {
    texts.push_back({std::move(text), x, y, colour, 12, false});
  };
  write(setting("OfficeTel") + "    " + setting("OfficeAddress"), 800, 1800, kBlack);

  const std::string directory =
      InstallationDirectory(setting("Directory", kDefaultInstallDirectory), files);
  if (files.FileExists(directory + "orbin.exe")) {
    write(directory, 450, 2600, kBlue);
  } else {
    write(directory, 500, 2200, kBlue);
    write("(" + files.CurrentDirectory() + ")", 450, 2600, kBlue);
  }

  const std::string program = MainProgramName(argument_text);
  write(program, 400, 3000, kBlue);
  if (files.FileExists(directory + program)) {
    if (std::optional<FileTime> time = files.ModificationTime(directory + program))
      write(FileDateText(*time, separators), 350, 3400, kBlue);
  }

  if (std::optional<std::string> monthly = NewestMonthlyFileText(directory, files))
    write(*monthly, 600, 4200, kBlue);

  write(std::string("E-Mail: ") + kMakerEmail, 2000, 5500, kGreen);
  write(std::string("Tel: ") + kMakerTel, 2400, 5900, kGreen);
  return info;
}

std::vector<InfoText> TextLayers(const InfoText& text) {
  if (!text.raised) return {text};
  auto shifted = [&](int offset, Colour colour) {
    InfoText layer = text;
    layer.x = RoundToInt16(text.x + offset);
    layer.y = RoundToInt16(text.y + offset);
    layer.colour = colour;
    layer.raised = false;
    return layer;
  };
  return {shifted(-13, kWhite), shifted(13, kGrey), shifted(0, text.colour)};
}

}  // namespace orbin
