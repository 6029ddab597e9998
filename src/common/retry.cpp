#include "common/retry.h"

#include "common/failure.h"

namespace orbin {

bool RetryOnFailure(const std::function<void()>& step, const AskRetry& ask_retry) {
  for (;;) {
    try {
      step();
      return true;
    } catch (const Failure& failure) {
      if (!ask_retry(failure.what())) return false;
    }
  }
}

}  // namespace orbin
