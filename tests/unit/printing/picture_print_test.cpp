#include "printing/picture_print.h"

#include <gtest/gtest.h>

#include "common/failure.h"
#include "fakes/fake_platform.h"
#include "bitmap_bytes.h"
#include "fakes/recording_surface.h"

namespace orbin {
namespace {

using testing::BitmapFile;
using testing::FakeFileSystem;
using testing::RecordingSurface;

// Picture n is n + 1 pixels wide, so the recording tells them apart.
std::string PictureBytes(int number) { return BitmapFile(number + 1, 1); }
using Lines = std::vector<std::string>;

struct PictureCase {
  std::string arguments;
  std::vector<int> present;  // picture files on disk
  Lines expected;
  int pages;
};

class PicturePrintTest : public ::testing::TestWithParam<PictureCase> {};

TEST_P(PicturePrintTest, PrintsSelectedPicturesFromNineDown) {
  FakeFileSystem files;
  for (int number : GetParam().present) files.files[PicturePath(number)] = PictureBytes(number);
  RecordingSurface printer;
  RunPicturePrint(GetParam().arguments, files, printer);
  EXPECT_EQ(printer.operations, GetParam().expected) << GetParam().arguments;
  EXPECT_EQ(printer.pages_with_drawing, GetParam().pages);
}

INSTANTIATE_TEST_SUITE_P(
    Selections, PicturePrintTest,
    ::testing::Values(
        PictureCase{"/Print//01//03/", {1, 3},
                    {"quality -2", "picture 4x1 0,0", "newpage",
                     "picture 2x1 0,0", "newpage", "enddoc"},
                    2},
        PictureCase{"/Print//01/02/", {1, 2},  // two marks sharing a slash
                    {"quality -2", "picture 3x1 0,0", "newpage",
                     "picture 2x1 0,0", "newpage", "enddoc"},
                    2},
        PictureCase{"/Print//00//09/", {0, 9},
                    {"quality -2", "picture 10x1 0,0", "newpage",
                     "picture 1x1 0,0", "enddoc"},
                    2},
        PictureCase{"/Print//H//05/", {5},
                    {"orientation 2", "quality -2", "picture 6x1 0,0", "newpage",
                     "enddoc"},
                    1},
        PictureCase{"/Print//04//06/", {4},  // 06 is missing: no page
                    {"quality -2", "picture 5x1 0,0", "newpage", "enddoc"}, 1},
        PictureCase{"/Print/", {0, 1, 2}, {"quality -2", "enddoc"}, 0},
        PictureCase{"/Print//10//1//h/", {0, 1}, {"quality -2", "enddoc"}, 0}));

// Checked before anything is printed: a damaged picture anywhere in the
// selection stops the run with no print job at all.
TEST(PicturePrint, DamagedPictureStopsTheRunBeforeAnythingIsPrinted) {
  FakeFileSystem files;
  files.files[PicturePath(3)] = PictureBytes(3);
  std::string damaged = PictureBytes(2);
  damaged.resize(damaged.size() - 1);  // the last row is short
  files.files[PicturePath(2)] = damaged;
  RecordingSurface printer;
  try {
    RunPicturePrint("/Print//02//03/", files, printer);
    FAIL() << "no failure";
  } catch (const Failure& failure) {
    EXPECT_EQ(std::string(failure.what()).rfind("無法列印圖片「c:\\PICTUR02.bmp」：檔案在像素資料結束之前就結束了", 0), 0u)
        << failure.what();
  }
  EXPECT_TRUE(printer.operations.empty());
}

TEST(PicturePrint, PrinterFaultAbortsTheDocument) {
  class RefusingPrinter : public RecordingSurface {
    void DrawPicture(const Picture& picture, Point top_left) override {
      if (picture.width == 3) throw Failure("the printer refused");
      RecordingSurface::DrawPicture(picture, top_left);
    }
  } printer;
  FakeFileSystem files;
  files.files[PicturePath(2)] = PictureBytes(2);
  files.files[PicturePath(3)] = PictureBytes(3);
  EXPECT_THROW(RunPicturePrint("/Print//02//03/", files, printer), Failure);
  EXPECT_EQ(printer.operations, (Lines{"quality -2", "picture 4x1 0,0", "newpage", "abortdoc"}));
}

}  // namespace
}  // namespace orbin
