#include "cardreader/reader_ports.h"

#include <string>

namespace orbin {

ReaderPorts ReaderPortsFromArguments(std::string_view argument_text) {
  const auto has = [&](const std::string& literal) {
    return argument_text.find(literal) != std::string_view::npos;
  };
  ReaderPorts ports;
  for (int port : {2, 3, 4}) {
    if (has("/csOpenCom" + std::to_string(port))) {
      ports.first = port;
      break;
    }
  }
  for (int port : {1, 2, 3, 4}) {
    if (has("/COM" + std::to_string(port) + "/")) ports.second = port;
  }
  return ports;
}

}  // namespace orbin
