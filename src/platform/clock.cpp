#include "platform/clock.h"

namespace orbin {

std::int64_t LocalTime::SerialSeconds() const {
  // Days from civil date (proleptic Gregorian), then seconds.
  int y = year - (month <= 2 ? 1 : 0);
  int era = (y >= 0 ? y : y - 399) / 400;
  int yoe = y - era * 400;
  int mp = (month + 9) % 12;
  int doy = (153 * mp + 2) / 5 + day - 1;
  int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  std::int64_t days = static_cast<std::int64_t>(era) * 146097 + doe;
  return days * 86400 + hour * 3600 + minute * 60 + second;
}

}  // namespace orbin
