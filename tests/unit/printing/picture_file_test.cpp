#include "printing/picture_file.h"

#include <gtest/gtest.h>

#include "bitmap_bytes.h"

namespace orbin {
namespace {

using testing::BitmapFile;
using testing::Put16;
using testing::Put32;

std::string Bytes(std::initializer_list<int> values) {
  std::string out;
  for (int v : values) out += static_cast<char>(v);
  return out;
}

std::uint32_t InfoField(const Picture& picture, std::size_t at) {
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(picture.info[at + i]);
  return v;
}

// An OS/2 core-header bitmap, 1 bit per pixel, 8 x 2, colours black and white.
std::string CoreBitmap() {
  std::string out = "BM";
  Put32(out, 0);
  Put32(out, 0);
  Put32(out, 14 + 12 + 6);
  Put32(out, 12);
  Put16(out, 8);
  Put16(out, 2);
  Put16(out, 1);
  Put16(out, 1);
  out += Bytes({0, 0, 0, 255, 255, 255});
  return out + Bytes({0xF0, 0, 0, 0, 0x0F, 0, 0, 0});
}

struct GoodCase {
  const char* name;
  std::string file;
  int width, height;
  std::uint32_t bit_count;
  std::int32_t height_field;    // rows top-down when negative
  std::size_t info_size;        // header plus colour table or masks
  std::string pixels;           // empty: as many zero bytes as `pixel_bytes`
  std::size_t pixel_bytes;
};

class ReadPictureGood : public ::testing::TestWithParam<GoodCase> {};

TEST_P(ReadPictureGood, GivesTheSystemsHeaderAndEveryPixel) {
  const GoodCase& c = GetParam();
  const Picture picture = ReadPictureFile(c.file);
  EXPECT_EQ(picture.width, c.width);
  EXPECT_EQ(picture.height, c.height);
  ASSERT_EQ(picture.info.size(), c.info_size);
  EXPECT_EQ(InfoField(picture, 0), 40u);
  EXPECT_EQ(static_cast<std::int32_t>(InfoField(picture, 8)), c.height_field);
  EXPECT_EQ(InfoField(picture, 14) & 0xFFFF, c.bit_count);
  EXPECT_EQ(picture.pixels, c.pixels.empty() ? std::string(c.pixel_bytes, '\0') : c.pixels);
}

INSTANTIATE_TEST_SUITE_P(
    Bitmaps, ReadPictureGood,
    ::testing::Values(
        GoodCase{"TrueColour", BitmapFile(3, 2), 3, 2, 24, 2, 40, "", 24},
        GoodCase{"TopDown", BitmapFile(3, -2), 3, 2, 24, -2, 40, "", 24},
        // Two colours stored; the table given to the system is whole.
        GoodCase{"ShortColourTable", BitmapFile(5, 1, 8, 0, 2),
                 5, 1, 8, 1, 40 + 256 * 4, "", 8},
        GoodCase{"BitFields", [] {
                   std::string f = BitmapFile(2, 1, 16, 3, 0, std::string(4, '\0'));
                   std::string masks;
                   Put32(masks, 0xF800);
                   Put32(masks, 0x07E0);
                   Put32(masks, 0x001F);
                   f.insert(54, masks);
                   f[10] = 54 + 12;
                   return f;
                 }(),
                 2, 1, 16, 1, 52, "", 4},
        GoodCase{"CoreHeader", CoreBitmap(), 8, 2, 1, 2, 40 + 2 * 4, Bytes({0xF0, 0, 0, 0, 0x0F, 0, 0, 0}), 0},
        // Row 0: a run of four 7s; row 1: 1, 2, 3 given one by one, then one 9.
        GoodCase{"Rle8", BitmapFile(4, 2, 8, 1, 0, Bytes({4, 7, 0, 0, 0, 3, 1, 2, 3, 0, 1, 9, 0, 1})),
                 4, 2, 8, 2, 40 + 256 * 4, Bytes({7, 7, 7, 7, 1, 2, 3, 9}), 0},
        GoodCase{"Rle4", BitmapFile(3, 1, 4, 2, 0, Bytes({3, 0x12, 0, 1})),
                 3, 1, 8, 1, 40 + 256 * 4, Bytes({1, 2, 1, 0}), 0}),
    [](const auto& info) { return info.param.name; });

struct BadCase {
  const char* name;
  std::string file;
  const char* reason;
};

class ReadPictureBad : public ::testing::TestWithParam<BadCase> {};

TEST_P(ReadPictureBad, SaysWhatIsWrong) {
  try {
    ReadPictureFile(GetParam().file);
    FAIL() << "accepted";
  } catch (const PictureFault& fault) {
    EXPECT_NE(std::string(fault.what()).find(GetParam().reason), std::string::npos) << fault.what();
  }
}

std::string WithField32(std::string file, std::size_t at, std::uint32_t value) {
  std::string v;
  Put32(v, value);
  return file.replace(at, 4, v);
}

const std::string kGood = BitmapFile(3, 2);

INSTANTIATE_TEST_SUITE_P(
    Faults, ReadPictureBad,
    ::testing::Values(
        BadCase{"NotABitmap", "GIF89a, a picture of another kind", "不是點陣圖"},
        BadCase{"TextFile", "病歷資料\r\n", "不是點陣圖"},
        BadCase{"OnlyTheMark", "BM", "檔案太短"},
        BadCase{"UnknownHeader", WithField32(kGood, 14, 20), "資訊區大小 20"},
        BadCase{"CutHeader", kGood.substr(0, 30), "資訊區結束之前"},
        BadCase{"NoWidth", WithField32(kGood, 18, 0), "大小不合理"},
        BadCase{"OddDepth", WithField32(kGood, 26, 1 | 7 << 16), "每個像素 7 位元"},
        BadCase{"RleOfTrueColour", WithField32(kGood, 30, 1), "壓縮方式 1"},
        BadCase{"TooManyColours", BitmapFile(2, 1, 4, 0, 17),
                "色盤有 17 個顏色"},
        BadCase{"CutColourTable", BitmapFile(2, 1, 8).substr(0, 600),
                "色盤結束之前"},
        BadCase{"PixelsOutside", WithField32(kGood, 10, 5000), "像素資料的位置 5000"},
        // A tenth of the pixels a 100 x 100 picture needs.
        BadCase{"ShortPixels", BitmapFile(100, 100, 24, 0, 0, std::string(3000, '\0')),
                "檔案在像素資料結束之前就結束了（100 × 100 像素、每像素 24 位元需要 30000 位元組，只有 3000 位元組）"},
        BadCase{"RleWithoutEnd", BitmapFile(4, 1, 8, 1, 0, Bytes({4, 7, 0, 0})),
                "圖片結束記號之前"},
        BadCase{"RleBelowTheLastRow", BitmapFile(4, 1, 8, 1, 0, Bytes({0, 2, 0, 5, 0, 1})),
                "超出了圖片的最後一列"},
        BadCase{"RleTooLarge", BitmapFile(60000, 60000, 8, 1, 0, Bytes({0, 1})),
                "點陣圖太大"}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace orbin
