#pragma once
#include "platform/clock.h"

namespace orbin {

class SystemClock : public Clock {
 public:
  LocalTime Now() override;
};

// Dispatches the thread's pending window messages.
class MessagePump : public EventPump {
 public:
  void DispatchPending() override;
};

}  // namespace orbin
