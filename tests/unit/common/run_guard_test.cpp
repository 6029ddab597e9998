#include "common/run_guard.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "common/failure.h"
#include "common/program_end.h"

namespace orbin {
namespace {

// The process's end, which the fake cannot carry out: thrown past the run.
struct ProcessEnded {
  int exit_code;
};

// A platform whose error box, while it is up, lets the program's other
// windows run handlers (`while_box_is_up`), as the box's message loop does.
class FakeRunPlatform : public RunPlatform {
 public:
  std::vector<std::string> boxes;
  std::vector<std::string> printing;
  std::function<void()> while_box_is_up;
  bool box_up = false;
  bool ended_under_the_box = false;

  void FinishPrinting(bool send) override { printing.push_back(send ? "send" : "discard"); }
  void ShowErrorBox(const std::string& message) override {
    boxes.push_back(message);
    box_up = true;
    if (while_box_is_up) while_box_is_up();
    box_up = false;
  }
  [[noreturn]] void EndProcess(int exit_code) override {
    ended_under_the_box = box_up;
    throw ProcessEnded{exit_code};
  }
};

// Runs `handler` as a window's handler; the process's exit code, or -1
// when the handler returned and the program goes on.
int HandlerEnd(RunGuard& guard, const std::function<void()>& handler) {
  try {
    guard.RunHandler(handler);
    return -1;
  } catch (const ProcessEnded& ended) {
    return ended.exit_code;
  }
}

[[noreturn]] void Fail() { throw Failure("無法寫入檔案「C:\\vexa\\ickno」：存取被拒。"); }
[[noreturn]] void EndWith0() { throw EndProgram{0}; }

TEST(RunGuard, EndsAndFailuresOfAHandler) {
  FakeRunPlatform platform;
  RunGuard guard(platform);
  EXPECT_EQ(HandlerEnd(guard, [] {}), -1);
  EXPECT_EQ(HandlerEnd(guard, [] { throw EndProgram{3}; }), 3);
  EXPECT_EQ(platform.printing, std::vector<std::string>{"send"});
  EXPECT_TRUE(platform.boxes.empty());
  EXPECT_EQ(HandlerEnd(guard, [] { Fail(); }), kFailureExitCode);
  EXPECT_EQ(platform.boxes, std::vector<std::string>{"無法寫入檔案「C:\\vexa\\ickno」：存取被拒。"});
  EXPECT_EQ(platform.printing, (std::vector<std::string>{"send", "discard"}));
}

// While a failure's box is up, other windows' handlers run (a countdown
// timer, another program's close request, the end of the session: each
// ends the program); what they do must neither end the process under the
// box nor turn the failure into success.
struct UnderTheBoxCase {
  const char* name;
  std::function<void()> handler;
};

class RunGuardUnderTheBox : public ::testing::TestWithParam<UnderTheBoxCase> {};

TEST_P(RunGuardUnderTheBox, AFailureInAHandlerEndsWithItsCodeAfterTheBox) {
  FakeRunPlatform platform;
  RunGuard guard(platform);
  int under_the_box = -2;
  platform.while_box_is_up = [&] { under_the_box = HandlerEnd(guard, GetParam().handler); };
  EXPECT_EQ(HandlerEnd(guard, [] { Fail(); }), kFailureExitCode);
  EXPECT_EQ(under_the_box, -1) << "the handler under the box did not end the process";
  EXPECT_FALSE(platform.ended_under_the_box);
  EXPECT_EQ(platform.boxes.size(), 1u) << "one box: the first failure's";
}

TEST_P(RunGuardUnderTheBox, AFailureOfTheJobEndsWithItsCodeAfterTheBox) {
  FakeRunPlatform platform;
  RunGuard guard(platform);
  platform.while_box_is_up = [&] { HandlerEnd(guard, GetParam().handler); };
  EXPECT_EQ(guard.RunGuarded([] { Fail(); }), kFailureExitCode);
  EXPECT_FALSE(platform.ended_under_the_box);
  EXPECT_EQ(platform.boxes.size(), 1u);
  // Nothing after the report turns the run into a success.
  EXPECT_EQ(guard.RunGuarded([] { EndWith0(); }), kFailureExitCode);
}

INSTANTIATE_TEST_SUITE_P(
    Handlers, RunGuardUnderTheBox,
    ::testing::Values(UnderTheBoxCase{"EndsTheProgramWith0", [] { EndWith0(); }},
                      UnderTheBoxCase{"EndsTheProgramWith5", [] { throw EndProgram{5}; }},
                      UnderTheBoxCase{"AnotherFailure", [] { Fail(); }},
                      UnderTheBoxCase{"NothingToEnd", [] {}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace orbin
