#pragma once
// The machine's memory figures beside the captions of the status monitor,
// read afresh on every status tick.
#include <cstdint>
#include <string>

namespace orbin {

struct MemoryFigures {
  std::uint32_t memory_load_percent = 0;
  std::uint64_t total_physical_bytes = 0;
  std::uint64_t available_physical_bytes = 0;
  std::uint64_t total_page_file_bytes = 0;
  std::uint64_t available_page_file_bytes = 0;
  std::uint64_t total_virtual_bytes = 0;
  std::uint64_t available_virtual_bytes = 0;
};

// Texts of the value fields, in the order of their captions.
struct MemoryTexts {
  std::string memory_used;          // Label2, "37 %"
  std::string total_physical;       // Label4, "8,388,608 KB"
  std::string available_physical;   // Label6
  std::string page_file;            // Label8
  std::string available_page_file;  // Label10
  std::string total_virtual;        // Label12
  std::string available_virtual;    // Label14
};

// Byte counts in whole kilobytes (rounded down), thousands grouped by commas,
// so that the figures fit the narrow window.
MemoryTexts FormatMemoryFigures(const MemoryFigures& figures);

class MemorySource {
 public:
  virtual ~MemorySource() = default;
  // Throws Failure when the platform cannot tell.
  virtual MemoryFigures Read() = 0;
};

}  // namespace orbin
