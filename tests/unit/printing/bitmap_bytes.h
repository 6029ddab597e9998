#pragma once
// Windows bitmap files built byte by byte for the tests.
#include <cstdint>
#include <string>
#include <utility>

namespace orbin::testing {

inline void Put16(std::string& out, std::uint32_t v) {
  out += static_cast<char>(v & 0xFF);
  out += static_cast<char>(v >> 8 & 0xFF);
}
inline void Put32(std::string& out, std::uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

// Info-header bitmap: file header, 40-byte header, colour table (grey
// ramp; `colours_used` entries, or all the depth allows when 0), pixels
// right after it (`pixels`, or whole zero rows for the size when empty).
struct BitmapLayout {
  std::int32_t width, height;
  std::uint32_t bit_count, compression, colours_used;
  std::string pixels;
};
inline std::string BitmapFile(std::int32_t width, std::int32_t height, std::uint32_t bit_count = 24,
                              std::uint32_t compression = 0, std::uint32_t colours_used = 0,
                              std::string pixel_bytes = "") {
  const BitmapLayout bitmap{width, height, bit_count, compression, colours_used,
                            std::move(pixel_bytes)};
  const std::uint32_t table =
      bitmap.bit_count <= 8 ? (bitmap.colours_used ? bitmap.colours_used : 1u << bitmap.bit_count) : 0;
  std::string pixels = bitmap.pixels;
  if (pixels.empty() && bitmap.compression == 0) {
    const std::uint64_t row =
        (static_cast<std::uint64_t>(bitmap.width) * bitmap.bit_count + 31) / 32 * 4;
    const std::int64_t height = bitmap.height;
    pixels.assign(row * static_cast<std::uint64_t>(height < 0 ? -height : height), '\0');
  }
  const std::uint32_t offset = 14 + 40 + table * 4;
  std::string out = "BM";
  Put32(out, offset + static_cast<std::uint32_t>(pixels.size()));
  Put32(out, 0);
  Put32(out, offset);
  Put32(out, 40);
  Put32(out, static_cast<std::uint32_t>(bitmap.width));
  Put32(out, static_cast<std::uint32_t>(bitmap.height));
  Put16(out, 1);
  Put16(out, bitmap.bit_count);
  Put32(out, bitmap.compression);
  Put32(out, static_cast<std::uint32_t>(pixels.size()));
  Put32(out, 2835);
  Put32(out, 2835);
  Put32(out, bitmap.colours_used);
  Put32(out, 0);
  for (std::uint32_t i = 0; i < table; ++i) Put32(out, (i * 0x010101u) & 0xFFFFFF);
  return out + pixels;
}

}  // namespace orbin::testing
