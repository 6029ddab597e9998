#pragma once
// Closing steps (unloading a window, closing the reader) go on past a failed
// step: the program is ending either way.
#include <exception>
#include <utility>

namespace orbin {

template <typename Step>
void IgnoreFailure(Step&& step) {
  try {
    std::forward<Step>(step)();
  } catch (const std::exception&) {
  }
}

}  // namespace orbin
