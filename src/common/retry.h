#pragma once
// Work on a file the person can free (a locked or read-only file, a full
// disk): a failure asks them whether to try again, and the whole step runs
// again until it succeeds or they cancel, so nothing they typed is lost to
// a file that was busy for a moment.
#include <functional>
#include <string>

namespace orbin {

// Shows `message` (what failed, on which file and why) and returns true
// when the person chose to try again, false when they cancelled.
using AskRetry = std::function<bool(const std::string& message)>;

// Runs `step` until it returns without a Failure (true), or until
// `ask_retry` answers a Failure's message with false (false).
bool RetryOnFailure(const std::function<void()>& step, const AskRetry& ask_retry);

}  // namespace orbin
