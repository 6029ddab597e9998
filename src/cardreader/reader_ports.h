#pragma once
// The COM ports of the reader run, from switches in the argument text.
#include <optional>
#include <string_view>

namespace orbin {

struct ReaderPorts {
  int first = 1;              // 1..4
  std::optional<int> second;  // 1..4, or none
};

// First port: "/csOpenCom2", "/csOpenCom3", "/csOpenCom4" in that order,
// the first found wins, else COM1. Second port: "/COM1/".."/COM4/", the
// highest found wins.
ReaderPorts ReaderPortsFromArguments(std::string_view argument_text);

}  // namespace orbin
