#pragma once
// A failure that ends the run: the top-level handler shows its text in the
// standard error box (program title as caption) and exits non-zero.
#include <stdexcept>
#include <string>

namespace orbin {

class Failure : public std::runtime_error {
 public:
  // `what` names the failed operation and its object, in UTF-8,
  // e.g. "Cannot open file \"orbin.txt\": no such file".
  explicit Failure(const std::string& what) : std::runtime_error(what) {}
};

// A number that does not fit where it is needed (a 16-bit integer, a
// single-precision coordinate).
class OverflowFailure : public Failure {
 public:
  using Failure::Failure;
};

}  // namespace orbin
