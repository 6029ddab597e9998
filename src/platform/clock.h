#pragma once
// The local date and time, at whole-second resolution; injected so that
// rules depending on the date can be tested on a fixed day.
#include <cstdint>

namespace orbin {

struct LocalTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  // Seconds since an arbitrary fixed origin, for comparing two readings.
  std::int64_t SerialSeconds() const;
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual LocalTime Now() = 0;
};

// Runs pending window events (timers, paints, clicks) and returns.
class EventPump {
 public:
  virtual ~EventPump() = default;
  virtual void DispatchPending() = 0;
};

}  // namespace orbin
