#include "printing/picture_print.h"

#include "printing/print_document_abort.h"

namespace orbin {

std::string PicturePath(int number) {
  return "c:\\PICTUR0" + std::to_string(number) + ".bmp";
}

void RunPicturePrint(const std::string& argument_text, FileSystem& files,
                     DrawingSurface& printer) {
  try {
    if (argument_text.find("/H/") != std::string::npos)
      printer.SetOrientation(Orientation::kLandscape);
    printer.SetQuality(kQualityLow);
    for (int number = 9; number >= 0; --number) {
      std::string mark = "/0" + std::to_string(number) + "/";
      if (argument_text.find(mark) == std::string::npos) continue;
      std::string path = PicturePath(number);
      if (!files.FileExists(path)) continue;
      printer.DrawPictureFile(path, Point{0, 0});
      // The surface drops a page break that no drawing follows, so the
      // break after the last picture printed leaves no blank page.
      if (number > 0) printer.NewPage();
    }
    printer.EndDocument();
  } catch (...) {
    AbortDocumentQuietly(printer);
    throw;
  }
}

}  // namespace orbin
