#pragma once
// The picture files of picture print: Windows bitmaps ("BM" files with a
// core, info, V4 or V5 header; 1, 4, 8, 16, 24 or 32 bits per pixel;
// uncompressed, bit fields, or RLE for 4 and 8 bits). A file is checked
// whole before anything of it reaches the system: its headers, its colour
// table and every byte of pixel data its size and depth call for.
#include <stdexcept>
#include <string>
#include <string_view>

#include "platform/drawing_surface.h"

namespace orbin {

// What is wrong with a picture file, in words for the person.
class PictureFault : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Compressed pictures are expanded; more than this many bytes of pixels
// are refused rather than risk the program's memory (whole megabytes).
inline constexpr std::size_t kMaxExpandedPictureBytes = 64u << 20;

// The picture as the system's device-independent drawing takes it: a
// 40-byte information header with the colour table (always complete, so any
// pixel value has a colour) or the bit masks, and the pixel rows. Throws
// PictureFault when the bytes are not a whole, well-formed bitmap.
Picture ReadPictureFile(std::string_view file_bytes,
                        std::size_t max_expanded_bytes = kMaxExpandedPictureBytes);

}  // namespace orbin
