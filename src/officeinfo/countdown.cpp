#include "officeinfo/countdown.h"

#include <algorithm>
#include <limits>

#include "common/lenient_number.h"
#include "officeinfo/plain_number.h"

namespace orbin {

std::int32_t CloseCountFromArguments(std::string_view argument_text) {
  constexpr std::string_view kShow = "/show";
  std::int32_t count = 0;
  if (std::size_t p = argument_text.find(kShow); p != std::string_view::npos) {
    const double seconds = std::clamp(ReadPlainNumber(argument_text.substr(p + kShow.size())),
                                      double{std::numeric_limits<std::int32_t>::min()},
                                      double{std::numeric_limits<std::int32_t>::max()});
    count = RoundToInt32(seconds);
  }
  if (count < 1) count = kDefaultCloseSeconds;
  if (argument_text.find("/show10/") != std::string_view::npos) count = 3;
  return count;
}

CountdownStep CountdownTick(std::int32_t& close_count) {
  --close_count;
  return {std::string(kCloseCaption) + "   " + std::to_string(close_count), close_count < 1};
}

}  // namespace orbin
