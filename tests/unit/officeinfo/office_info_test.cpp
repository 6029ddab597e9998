#include "officeinfo/office_info.h"

#include <gtest/gtest.h>

#include "common/failure.h"
#include "fakes/fake_platform.h"
#include "officeinfo/maker_contact.h"

namespace orbin {
namespace {

InfoText Blue(const char* text, std::int16_t x, std::int16_t y) { return {text, x, y, kBlue, 12, false}; }

std::vector<InfoText> WithMakerLines(std::vector<InfoText> texts) {
  texts.push_back({std::string("E-Mail: ") + kMakerEmail, 2000, 5500, kGreen, 12, false});
  texts.push_back({std::string("Tel: ") + kMakerTel, 2400, 5900, kGreen, 12, false});
  return texts;
}

TEST(DescribeOfficeInfo, FullInstallation) {
  testing::FakeSettings settings;
  for (auto [key, value] : {std::pair{"OfficeCode", "3501234567"}, {"OfficeName", "  仁愛牙醫診所 "},
                            {"OfficeTel", "02-2345-6789"}, {"OfficeAddress", "台北市仁愛路1號"},
                            {"Directory", "d:\\vexa\\"}})
    settings.values[{"c:\\vexa.ini", "VexaDent", key}] = value;
  testing::FakeFileSystem files;
  files.files["d:\\vexa\\orbin.exe"] = files.files["d:\\vexa\\vexa2.exe"] = "MZ";
  files.times["d:\\vexa\\vexa2.exe"] = {2005, 3, 17, 9, 5, 7};
  files.files["d:\\vexa\\mth123"] = std::string(25, ' ') + "03    05 and more";

  const OfficeInfo info = DescribeOfficeInfo("/show/vexa2", settings, files);
  EXPECT_EQ(info.label3_caption, "仁愛牙醫診所");
  EXPECT_EQ(info.texts, WithMakerLines({{"3501234567", 2300, 500, kYellow, 18, true},
                                        {"02-2345-6789    台北市仁愛路1號", 800, 1800, kBlack, 12, false},
                                        Blue("d:\\vexa\\", 450, 2600), Blue("vexa2.exe", 400, 3000),
                                        Blue("94/3/17 9:5:7", 350, 3400),
                                        Blue("mth123 (94年03月)", 600, 4200)}));
}

TEST(DescribeOfficeInfo, NothingInstalledShowsDefaultsAndTheCurrentDirectory) {
  testing::FakeSettings settings;
  testing::FakeFileSystem files;
  files.current_directory = "C:\\work";
  files.files["c:\\vexa\\vexa.exe"] = "MZ";  // its time cannot be read: no date line
  const OfficeInfo info = DescribeOfficeInfo("", settings, files);
  EXPECT_EQ(info.label3_caption, "");
  EXPECT_EQ(info.texts, WithMakerLines({{"", 2300, 500, kYellow, 18, true},
                                        {"    ", 800, 1800, kBlack, 12, false},
                                        Blue("c:\\vexa\\", 500, 2200), Blue("(C:\\work)", 450, 2600),
                                        Blue("vexa.exe", 400, 3000)}));
}

TEST(TextLayers, PlainOnceRaisedThrice) {
  EXPECT_EQ(TextLayers(Blue("a", 10, 20)), std::vector<InfoText>{Blue("a", 10, 20)});
  EXPECT_EQ(TextLayers({"碼", 2300, 500, kYellow, 18, true}),
            (std::vector<InfoText>{{"碼", 2287, 487, kWhite, 18, false},
                                   {"碼", 2313, 513, kGrey, 18, false},
                                   {"碼", 2300, 500, kYellow, 18, false}}));
  EXPECT_THROW(TextLayers({"x", 32760, 0, kBlack, 12, true}), OverflowFailure);
  EXPECT_THROW(TextLayers({"x", 0, -32760, kBlack, 12, true}), OverflowFailure);
}

}  // namespace
}  // namespace orbin
