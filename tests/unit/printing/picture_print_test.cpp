#include "printing/picture_print.h"

#include <gtest/gtest.h>

#include "common/failure.h"
#include "fakes/fake_platform.h"
#include "fakes/recording_surface.h"

namespace orbin {
namespace {

using testing::FakeFileSystem;
using testing::RecordingSurface;
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
  for (int number : GetParam().present) files.files[PicturePath(number)] = "BM";
  RecordingSurface printer;
  RunPicturePrint(GetParam().arguments, files, printer);
  EXPECT_EQ(printer.operations, GetParam().expected) << GetParam().arguments;
  EXPECT_EQ(printer.pages_with_drawing, GetParam().pages);
}

INSTANTIATE_TEST_SUITE_P(
    Selections, PicturePrintTest,
    ::testing::Values(
        PictureCase{"/Print//01//03/", {1, 3},
                    {"quality -2", "picture c:\\PICTUR03.bmp 0,0", "newpage",
                     "picture c:\\PICTUR01.bmp 0,0", "newpage", "enddoc"},
                    2},
        PictureCase{"/Print//01/02/", {1, 2},  // two marks sharing a slash
                    {"quality -2", "picture c:\\PICTUR02.bmp 0,0", "newpage",
                     "picture c:\\PICTUR01.bmp 0,0", "newpage", "enddoc"},
                    2},
        PictureCase{"/Print//00//09/", {0, 9},
                    {"quality -2", "picture c:\\PICTUR09.bmp 0,0", "newpage",
                     "picture c:\\PICTUR00.bmp 0,0", "enddoc"},
                    2},
        PictureCase{"/Print//H//05/", {5},
                    {"orientation 2", "quality -2", "picture c:\\PICTUR05.bmp 0,0", "newpage",
                     "enddoc"},
                    1},
        PictureCase{"/Print//04//06/", {4},  // 06 is missing: no page
                    {"quality -2", "picture c:\\PICTUR04.bmp 0,0", "newpage", "enddoc"}, 1},
        PictureCase{"/Print/", {0, 1, 2}, {"quality -2", "enddoc"}, 0},
        PictureCase{"/Print//10//1//h/", {0, 1}, {"quality -2", "enddoc"}, 0}));

TEST(PicturePrint, PictureThatCannotBeLoadedAbortsTheDocument) {
  class UnreadablePictures : public RecordingSurface {
    void DrawPictureFile(const std::string& path, Point top_left) override {
      if (path == PicturePath(2)) throw Failure("Cannot load the picture \"" + path + "\"");
      RecordingSurface::DrawPictureFile(path, top_left);
    }
  } printer;
  FakeFileSystem files;
  files.files[PicturePath(2)] = files.files[PicturePath(3)] = "BM";
  EXPECT_THROW(RunPicturePrint("/Print//02//03/", files, printer), Failure);
  EXPECT_EQ(printer.operations,
            (Lines{"quality -2", "picture c:\\PICTUR03.bmp 0,0", "newpage", "abortdoc"}));
}

}  // namespace
}  // namespace orbin
