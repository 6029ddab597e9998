// AddressSanitizer asks the kernel for the thread's signal stack before
// every throw (twice: at the throw and in its own __cxa_throw hook), to
// clear that stack's poisoning. Most inputs end a rule with a thrown
// Failure or EndProgram, and on these machines a system call costs several
// microseconds: a fifth of some targets' time went to these questions.
//
// This definition takes the place of the sanitizer's own sigaltstack (a
// weak symbol) in the fuzz targets only. It asks the kernel once per thread
// and whenever the stack is set, and answers the other questions as the
// kernel would: the same stack, "on it" when the caller's stack pointer
// lies inside it. The sanitizer sets its signal stacks itself, without
// this function, when a thread starts, before any question is asked.
#include <signal.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstdint>

namespace {

struct KnownStack {
  bool known = false;
  stack_t stack{};  // as last read, without SS_ONSTACK
};

thread_local KnownStack known_stack;

int AskKernel(const stack_t* set, stack_t* old) {
  return static_cast<int>(syscall(SYS_sigaltstack, set, old));
}

bool OnStack(const stack_t& stack, std::uintptr_t sp) {
  const auto bottom = reinterpret_cast<std::uintptr_t>(stack.ss_sp);
  return sp > bottom && sp <= bottom + stack.ss_size;
}

}  // namespace

extern "C" int sigaltstack(const stack_t* set, stack_t* old) {
  if (set != nullptr || !known_stack.known) {
    if (const int result = AskKernel(set, old); result != 0) return result;
    stack_t now{};
    if (AskKernel(nullptr, &now) == 0) {
      now.ss_flags &= ~SS_ONSTACK;
      known_stack = {true, now};
    }
    return 0;
  }
  if (old != nullptr) {
    *old = known_stack.stack;
    const auto sp = reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0));
    if (!(old->ss_flags & SS_DISABLE) && OnStack(*old, sp)) old->ss_flags |= SS_ONSTACK;
  }
  return 0;
}
