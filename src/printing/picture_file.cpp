#include "printing/picture_file.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace orbin {
namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kCoreHeaderSize = 12;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kMaskedInfoHeaderSize = 52;  // info header with the colour masks
constexpr std::uint32_t kV5HeaderSize = 124;

enum Compression : std::uint32_t { kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3 };

std::uint32_t U16(std::string_view bytes, std::size_t at) {
  return static_cast<unsigned char>(bytes[at]) | static_cast<unsigned char>(bytes[at + 1]) << 8;
}
std::uint32_t U32(std::string_view bytes, std::size_t at) {
  return U16(bytes, at) | U16(bytes, at + 2) << 16;
}
std::int32_t S32(std::string_view bytes, std::size_t at) {
  return static_cast<std::int32_t>(U32(bytes, at));
}

void Put16(std::string& out, std::uint32_t value) {
  out += static_cast<char>(value & 0xFF);
  out += static_cast<char>(value >> 8 & 0xFF);
}
void Put32(std::string& out, std::uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}

[[noreturn]] void Fault(const std::string& what) { throw PictureFault(what); }

std::string Count(std::uint64_t n) { return std::to_string(n); }

struct Header {
  std::uint32_t size = 0;
  std::int64_t width = 0, height = 0;  // height < 0: rows top-down
  std::uint32_t planes = 0, bit_count = 0, compression = kRgb, colours_used = 0;
  std::uint32_t masks[3] = {0, 0, 0};
  bool masks_in_header = false;
};

Header ReadHeader(std::string_view file) {
  if (file.size() < kFileHeaderSize + 4) Fault("檔案太短，不是完整的點陣圖");
  Header h;
  h.size = U32(file, kFileHeaderSize);
  const bool known = h.size == kCoreHeaderSize || (h.size >= kInfoHeaderSize && h.size <= kV5HeaderSize);
  if (!known) Fault("點陣圖的資訊區大小 " + Count(h.size) + " 不是 Windows 點陣圖的格式");
  if (file.size() < kFileHeaderSize + h.size) Fault("檔案在點陣圖的資訊區結束之前就結束了");
  const std::size_t at = kFileHeaderSize;
  if (h.size == kCoreHeaderSize) {
    h.width = U16(file, at + 4);
    h.height = U16(file, at + 6);
    h.planes = U16(file, at + 8);
    h.bit_count = U16(file, at + 10);
    return h;
  }
  h.width = S32(file, at + 4);
  h.height = S32(file, at + 8);
  h.planes = U16(file, at + 12);
  h.bit_count = U16(file, at + 14);
  h.compression = U32(file, at + 16);
  h.colours_used = U32(file, at + 32);
  if (h.size >= kMaskedInfoHeaderSize) {
    for (int i = 0; i < 3; ++i) h.masks[i] = U32(file, at + 40 + 4 * i);
    h.masks_in_header = true;
  }
  return h;
}

void CheckHeader(const Header& h) {
  if (h.width <= 0 || h.height == 0 || h.height == INT32_MIN)
    Fault("點陣圖的大小不合理（" + std::to_string(h.width) + " × " + std::to_string(h.height) +
          " 像素）");
  if (h.planes != 1) Fault("點陣圖的平面數是 " + Count(h.planes) + "，應該是 1");
  switch (h.bit_count) {
    case 1: case 4: case 8: case 16: case 24: case 32: break;
    default: Fault("點陣圖每個像素 " + Count(h.bit_count) + " 位元，不是 1、4、8、16、24、32 之一");
  }
  const bool fits = h.compression == kRgb || (h.compression == kRle8 && h.bit_count == 8) ||
                    (h.compression == kRle4 && h.bit_count == 4) ||
                    (h.compression == kBitFields && (h.bit_count == 16 || h.bit_count == 32));
  if (!fits)
    Fault("點陣圖的壓縮方式 " + Count(h.compression) + " 不適用於每像素 " + Count(h.bit_count) +
          " 位元的點陣圖");
  if (h.height < 0 && (h.compression == kRle8 || h.compression == kRle4))
    Fault("由上而下存放的點陣圖不能壓縮");
}

std::uint64_t RowBytes(std::uint64_t width, std::uint32_t bit_count) {
  return (width * bit_count + 31) / 32 * 4;
}

// Walks RLE8 or RLE4 data, handing each pixel to `put(x, y, value)`. Runs
// past the end of a row are cut there, as the system draws them; data that
// ends before its end-of-picture mark, or moves past the last row, is
// damage.
template <typename Put>
void WalkRle(std::string_view data, std::uint64_t height, bool four_bit, Put put) {
  std::uint64_t x = 0, y = 0;
  std::size_t at = 0;
  auto damaged = [](const char* what) { Fault(std::string("點陣圖壓縮的像素資料損毀：") + what); };
  while (true) {
    if (at + 2 > data.size()) damaged("資料在圖片結束記號之前就結束了");
    const unsigned count = static_cast<unsigned char>(data[at]);
    const unsigned value = static_cast<unsigned char>(data[at + 1]);
    at += 2;
    if (count > 0) {
      for (unsigned i = 0; i < count; ++i) put(x++, y, four_bit ? (i % 2 ? value & 0x0F : value >> 4) : value);
      continue;
    }
    if (value == 0) {  // end of row
      x = 0;
      ++y;
    } else if (value == 1) {  // end of picture
      return;
    } else if (value == 2) {  // move
      if (at + 2 > data.size()) damaged("資料在位移之中結束了");
      x += static_cast<unsigned char>(data[at]);
      y += static_cast<unsigned char>(data[at + 1]);
      at += 2;
    } else {  // `value` pixels given one by one, padded to whole 16-bit words
      const std::size_t bytes = four_bit ? (value + 1) / 2 : value;
      if (at + bytes > data.size()) damaged("資料在一段像素之中結束了");
      for (unsigned i = 0; i < value; ++i) {
        const unsigned byte = static_cast<unsigned char>(data[at + (four_bit ? i / 2 : i)]);
        put(x++, y, four_bit ? (i % 2 ? byte & 0x0F : byte >> 4) : byte);
      }
      at += bytes + bytes % 2;
    }
    if (y > height) damaged("超出了圖片的最後一列");
  }
}

// Expands RLE data into 8-bit rows, bottom-up. The data is checked whole
// first, so damaged data costs no memory for the rows it claims.
std::string ExpandRle(std::string_view data, std::uint32_t width, std::uint32_t height, bool four_bit,
                      std::size_t max_bytes) {
  const std::uint64_t row = RowBytes(width, 8);
  if (height > max_bytes / row) Fault("點陣圖太大：展開後超過 " + Count(max_bytes >> 20) + " MB");
  WalkRle(data, height, four_bit, [](std::uint64_t, std::uint64_t, unsigned) {});
  std::string pixels(static_cast<std::size_t>(row * height), '\0');
  WalkRle(data, height, four_bit, [&](std::uint64_t x, std::uint64_t y, unsigned value) {
    if (x < width && y < height) pixels[static_cast<std::size_t>(y * row + x)] = static_cast<char>(value);
  });
  return pixels;
}

}  // namespace

Picture ReadPictureFile(std::string_view file, std::size_t max_expanded_bytes) {
  if (file.size() < 2 || file[0] != 'B' || file[1] != 'M') Fault("這個檔案不是點陣圖（開頭不是「BM」）");
  const Header h = ReadHeader(file);
  CheckHeader(h);
  const std::uint64_t width = static_cast<std::uint64_t>(h.width);
  const std::uint64_t height = static_cast<std::uint64_t>(std::llabs(h.height));

  // The colour table (or the masks) follows the header.
  std::size_t at = kFileHeaderSize + h.size;
  const std::uint32_t table_entries_possible = h.bit_count <= 8 ? 1u << h.bit_count : 0;
  std::uint32_t table_entries = 0;
  if (h.bit_count <= 8) {
    table_entries = h.colours_used == 0 ? table_entries_possible : h.colours_used;
    if (table_entries > table_entries_possible)
      Fault("點陣圖的色盤有 " + Count(table_entries) + " 個顏色，超過每像素 " + Count(h.bit_count) +
            " 位元能用的 " + Count(table_entries_possible) + " 個");
  }
  const std::size_t entry_size = h.size == kCoreHeaderSize ? 3 : 4;
  std::uint32_t masks[3] = {h.masks[0], h.masks[1], h.masks[2]};
  if (h.compression == kBitFields && !h.masks_in_header) {
    if (file.size() < at + 12) Fault("檔案在點陣圖的色彩遮罩結束之前就結束了");
    for (int i = 0; i < 3; ++i) masks[i] = U32(file, at + 4 * i);
    at += 12;
  }
  if (file.size() < at + std::uint64_t{table_entries} * entry_size)
    Fault("檔案在點陣圖的色盤結束之前就結束了");

  const std::uint32_t pixel_offset = U32(file, 10);
  if (pixel_offset < kFileHeaderSize + h.size || pixel_offset > file.size())
    Fault("點陣圖像素資料的位置 " + Count(pixel_offset) + " 不在檔案之內（檔案 " + Count(file.size()) +
          " 位元組）");
  const std::string_view data = file.substr(pixel_offset);

  Picture picture;
  picture.width = static_cast<int>(width);
  picture.height = static_cast<int>(height);
  const bool rle = h.compression == kRle8 || h.compression == kRle4;
  if (rle) {
    picture.pixels = ExpandRle(data, static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height),
                               h.compression == kRle4, max_expanded_bytes);
  } else {
    const std::uint64_t row = RowBytes(width, h.bit_count);
    const std::uint64_t needed = row > UINT64_MAX / height ? UINT64_MAX : row * height;
    if (data.size() < needed)
      Fault("檔案在像素資料結束之前就結束了（" + Count(width) + " × " + Count(height) + " 像素、每像素 " +
            Count(h.bit_count) + " 位元需要 " + Count(needed) + " 位元組，只有 " + Count(data.size()) +
            " 位元組）");
    picture.pixels.assign(data.substr(0, static_cast<std::size_t>(needed)));
  }

  // The information header the system takes, then the whole colour table
  // (missing entries black) or the masks.
  const std::uint32_t bit_count = rle ? 8 : h.bit_count;
  std::string& info = picture.info;
  Put32(info, kInfoHeaderSize);
  Put32(info, static_cast<std::uint32_t>(width));
  Put32(info, static_cast<std::uint32_t>(rle ? static_cast<std::int64_t>(height) : h.height));
  Put16(info, 1);
  Put16(info, bit_count);
  Put32(info, h.compression == kBitFields ? kBitFields : kRgb);
  Put32(info, static_cast<std::uint32_t>(picture.pixels.size()));
  Put32(info, 0);  // pixels per metre: the picture's size comes from the screen
  Put32(info, 0);
  Put32(info, 0);  // colours used: the whole table
  Put32(info, 0);
  if (h.compression == kBitFields) {
    for (std::uint32_t mask : masks) Put32(info, mask);
  } else if (bit_count <= 8) {
    const std::size_t table = kFileHeaderSize + h.size;
    for (std::uint32_t i = 0; i < (1u << bit_count); ++i) {
      if (i < table_entries) {
        info.append(file.substr(table + i * entry_size, 3));  // blue, green, red
        info += '\0';
      } else {
        Put32(info, 0);
      }
    }
  }
  return picture;
}

}  // namespace orbin
