#include "statusmonitor/memory_figures.h"

namespace orbin {
namespace {

std::string Kilobytes(std::uint64_t bytes) {
  const std::string digits = std::to_string(bytes / 1024);
  std::string grouped;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) grouped += ',';
    grouped += digits[i];
  }
  return grouped + " KB";
}

}  // namespace

MemoryTexts FormatMemoryFigures(const MemoryFigures& figures) {
  return {.memory_used = std::to_string(figures.memory_load_percent) + " %",
          .total_physical = Kilobytes(figures.total_physical_bytes),
          .available_physical = Kilobytes(figures.available_physical_bytes),
          .page_file = Kilobytes(figures.total_page_file_bytes),
          .available_page_file = Kilobytes(figures.available_page_file_bytes),
          .total_virtual = Kilobytes(figures.total_virtual_bytes),
          .available_virtual = Kilobytes(figures.available_virtual_bytes)};
}

}  // namespace orbin
