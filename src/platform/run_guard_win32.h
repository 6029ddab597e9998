#pragma once
// The top-level handler every job runs under: an unexpected failure shows
// the standard error box naming the failed operation and its object, and
// ends the program with a non-zero exit code; an end of the program ends it
// with its code. Window handlers run under the same handler. The rules,
// including what a handler running under the error box may do, are
// common/run_guard.h's.
#include <functional>
#include <string>

#include "common/run_guard.h"

namespace orbin {

inline constexpr wchar_t kProgramTitle[] = L"orbin";

// Runs `body`; returns the exit code the program should end with if `body`
// ended the program or failed, or nothing more to do (-1) when it returned.
int RunGuarded(const std::function<void()>& body);

// For window handlers: runs `body`, and if it ends the program or fails,
// ends the process at once (after the error box), as an end statement would.
void RunHandler(const std::function<void()>& body);

[[noreturn]] void EndProcess(int exit_code);

void ShowErrorBox(const std::string& message);

}  // namespace orbin
