// A picture file of picture print as any bytes: either it is refused with a
// reason, or what goes to the system's drawing call is whole: a 40-byte
// header describing exactly the pixel rows handed over, and a complete
// colour table (or the three masks), so the system never reads past them.
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "printing/picture_file.h"

using namespace orbin;

namespace {

std::uint32_t Field(const std::string& info, std::size_t at) {
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(info[at + i]);
  return v;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view file = fuzz::AsText(data, size);
  Picture picture;
  try {
    // A limit of 64 KB for expanded pictures (256 rows of 256 pixels)
    // reaches the same paths as the program's 64 MB without every large
    // compressed input costing the rows it claims: a few bytes of RLE can
    // claim a megabyte of rows, which took most of a run's time.
    picture = ReadPictureFile(file, 1u << 16);
  } catch (const PictureFault& fault) {
    fuzz::Require(*fault.what() != '\0', "a refused picture says why");
    return 0;
  }
  fuzz::Require(picture.info.size() >= 40 && Field(picture.info, 0) == 40, "a 40-byte header", file);
  const std::int32_t height_field = static_cast<std::int32_t>(Field(picture.info, 8));
  const std::uint32_t bits = Field(picture.info, 12) >> 16;
  const std::uint32_t compression = Field(picture.info, 16);
  fuzz::Require(static_cast<std::int64_t>(Field(picture.info, 4)) == picture.width && picture.width > 0,
                "the header's width is the picture's", file);
  fuzz::Require(picture.height > 0 && (height_field == picture.height || height_field == -picture.height),
                "the header's height is the picture's", file);
  fuzz::Require(compression == 0 || compression == 3, "uncompressed or bit fields", file);
  const std::size_t table = compression == 3 ? 12 : bits <= 8 ? 4u << bits : 0;
  fuzz::Require(picture.info.size() == 40 + table, "a whole colour table or the three masks", file);
  const std::uint64_t row = (static_cast<std::uint64_t>(picture.width) * bits + 31) / 32 * 4;
  fuzz::Require(picture.pixels.size() == row * static_cast<std::uint64_t>(picture.height),
                "every pixel row the header describes, and no more", file);
  return 0;
}
