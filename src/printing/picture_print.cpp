#include "printing/picture_print.h"

#include <vector>

#include "common/failure.h"
#include "printing/picture_file.h"
#include "printing/print_document_abort.h"

namespace orbin {
namespace {

// The selected pictures that exist, highest number first, each read and
// checked whole, so that a damaged one stops the run before anything is
// printed.
std::vector<Picture> ReadSelectedPictures(const std::string& argument_text, FileSystem& files,
                                          std::vector<int>& numbers) {
  std::vector<Picture> pictures;
  for (int number = 9; number >= 0; --number) {
    const std::string mark = "/0" + std::to_string(number) + "/";
    if (argument_text.find(mark) == std::string::npos) continue;
    const std::string path = PicturePath(number);
    if (!files.FileExists(path)) continue;
    const std::string bytes = files.ReadAll(path);
    try {
      pictures.push_back(ReadPictureFile(bytes));
    } catch (const PictureFault& fault) {
      throw Failure("無法列印圖片「" + files.FullPath(path) + "」：" + fault.what());
    }
    numbers.push_back(number);
  }
  return pictures;
}

}  // namespace

std::string PicturePath(int number) {
  return "c:\\PICTUR0" + std::to_string(number) + ".bmp";
}

void RunPicturePrint(const std::string& argument_text, FileSystem& files,
                     DrawingSurface& printer) {
  std::vector<int> numbers;
  const std::vector<Picture> pictures = ReadSelectedPictures(argument_text, files, numbers);
  try {
    if (argument_text.find("/H/") != std::string::npos)
      printer.SetOrientation(Orientation::kLandscape);
    printer.SetQuality(kQualityLow);
    for (std::size_t i = 0; i < pictures.size(); ++i) {
      printer.DrawPicture(pictures[i], Point{0, 0});
      // The surface drops a page break that no drawing follows, so the
      // break after the last picture printed leaves no blank page.
      if (numbers[i] > 0) printer.NewPage();
    }
    printer.EndDocument();
  } catch (...) {
    AbortDocumentQuietly(printer);
    throw;
  }
}

}  // namespace orbin
