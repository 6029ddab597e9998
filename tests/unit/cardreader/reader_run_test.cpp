#include "cardreader/reader_run.h"

#include <gtest/gtest.h>

#include "cardreader/reader_ports.h"
#include "cardreader/status_file.h"
#include "common/program_end.h"
#include "fakes/fake_platform.h"
#include "unit/cardreader/fake_progress_view.h"
#include "fakes/fake_reader_library.h"

namespace orbin {
namespace {

using namespace std::string_literals;
using Log = std::vector<std::string>;

struct PortsCase {
  const char* args;
  int first;
  std::optional<int> second;
};

class ReaderPortsTest : public ::testing::TestWithParam<PortsCase> {};

TEST_P(ReaderPortsTest, FirstByFirstMatchSecondByHighestMatch) {
  const ReaderPorts ports = ReaderPortsFromArguments(GetParam().args);
  EXPECT_EQ(ports.first, GetParam().first) << GetParam().args;
  EXPECT_EQ(ports.second, GetParam().second) << GetParam().args;
}

INSTANTIATE_TEST_SUITE_P(
    Switches, ReaderPortsTest,
    ::testing::Values(PortsCase{"/ReadF4", 1, std::nullopt},
                      PortsCase{"/ReadF4/csOpenCom3/csOpenCom2", 2, std::nullopt},
                      PortsCase{"/csOpenCom4", 4, std::nullopt},
                      PortsCase{"/csOpenCom1/csopencom2", 1, std::nullopt},
                      PortsCase{"/COM4//COM1/", 1, 4}, PortsCase{"/COM2/", 1, 2},
                      PortsCase{"/COM2/COM3", 1, 2}, PortsCase{"/com2/", 1, std::nullopt}));

// Time moves on by one second with each dispatch of window events, so a wait
// of one second shows as "clock", "clock", "events", "clock".
struct LoggingClock : Clock {
  explicit LoggingClock(Log& log) : log(log) {}
  LocalTime Now() override {
    log.push_back("clock");
    return now;
  }
  Log& log;
  LocalTime now{2026, 1, 5, 8, 0, 0};
};

struct LoggingPump : EventPump {
  LoggingPump(Log& log, LoggingClock& clock) : log(log), clock(clock) {}
  void DispatchPending() override {
    log.push_back("events");
    ++clock.now.second;
  }
  Log& log;
  LoggingClock& clock;
};

struct LoggingDirectory : WorkingDirectory {
  explicit LoggingDirectory(Log& log) : log(log) {}
  void ChangeDrive(const std::string& drive) override { log.push_back("drive " + drive); }
  void ChangeDirectory(const std::string& dir) override { log.push_back("directory " + dir); }
  Log& log;
};

class ReaderRunFixture {
 protected:
  // Runs the job to its end; false if it did not end the program.
  bool RunJob(const std::string& args, const std::string& exe = "orbin") {
    try {
      run.Run(args, exe);
    } catch (const EndProgram&) {
      return true;
    }
    return false;
  }
  Log log;
  testing::FakeReaderLibrary reader{log};
  testing::FakeProgressView view{log};
  LoggingClock clock{log};
  LoggingPump events{log, clock};
  ProgressWindow window{view, reader, events};
  testing::FakeFileSystem files;
  LoggingDirectory directory{log};
  ReaderRun run{{reader, window, files, directory, clock, events}};
};

struct RunCase {
  const char* name;
  const char* args;
  std::optional<std::string> ickno_before;
  std::deque<std::int16_t> open, status, verify;
  Log log;
  std::string ickno_after;
};

void PrintTo(const RunCase& c, std::ostream* os) { *os << c.name; }

class ReaderRunTest : public ReaderRunFixture, public ::testing::TestWithParam<RunCase> {};

TEST_P(ReaderRunTest, CallsShowsAndMarksThenEnds) {
  const RunCase& c = GetParam();
  if (c.ickno_before) files.files["ickno"] = *c.ickno_before;
  reader.open = c.open, reader.status = c.status, reader.verify = c.verify;
  EXPECT_TRUE(RunJob(c.args));
  EXPECT_EQ(log, c.log);
  EXPECT_EQ(files.files["ickno"], c.ickno_after);
}

const char kOpen0[] = "csOpenCom(0)", kOpen1[] = "csOpenCom(1)", kOpen2[] = "csOpenCom(2)",
           kStatus[] = "hisGetCardStatus(2)", kVerify[] = "csVerifySAMDC()",
           kClose[] = "csCloseCom()";

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Runs, ReaderRunTest,
    ::testing::ValuesIn(std::vector<RunCase>{
        {"NoSwitchStatus0CreatesEmptyFile", "/ReadF4", {}, {}, {0}, {},
         {kOpen0, kStatus, kClose}, ""},
        {"Status0ResetsMark", "/ReadF4", "X", {}, {0}, {}, {kOpen0, kStatus, kClose}, "0"},
        {"Status0KeepsOtherMark", "/ReadF4", "Z", {}, {0}, {}, {kOpen0, kStatus, kClose}, "Z"},
        {"AuthenticationSucceeds", "/ReadF4", "X", {}, {1, 0}, {0},
         {kOpen0, kStatus, "COM: 1  進行認證", "events", "events", kVerify,
          "COM: 1  認證成功", "events", "events", kStatus, "unload", kClose},
         "0"},
        {"AuthenticationFailsThenStatus5", "/ReadF4", {}, {}, {1, 5}, {9},
         {kOpen0, kStatus, "COM: 1  進行認證", "events", "events", kVerify,
          "COM: 1  認證失敗", "events", "events", kStatus, "unload", kClose},
         "X\0001"s},
        {"NewFailureStopsBeforeSecondPort", "/COM2/", {}, {}, {5}, {},
         {kOpen0, kStatus, kClose}, "X\0001"s},
        {"KnownFailureWritesNothingAndGoesOn", "/COM2/", "X", {}, {5, 0}, {},
         {kOpen0, kStatus, kClose, kOpen1, kStatus, kClose}, "X"},
        {"NegativeStatusWritesNothing", "/ReadF4", "X", {}, {-1}, {},
         {kOpen0, kStatus, kClose}, "X"},
        {"Status1AfterAuthenticationWritesNothing", "/COM2/", {}, {}, {1, 1}, {0},
         {kOpen0, kStatus, "COM: 1  進行認證", "events", "events", kVerify,
          "COM: 1  認證成功", "events", "events", kStatus, kClose, kOpen1, kStatus, "unload", kClose},
         ""},
        {"PortThatCannotOpenWaitsAndCountsAs0", "/ReadF4", "X", {3}, {}, {},
         {kOpen0, "無法開啟:  COM: 1", "events", "events", "clock", "clock", "events", "clock",
          "unload", kClose}, "0"},
        {"SecondPortFailsAfterFirstReset", "/csOpenCom2/COM3/", "X0", {}, {0, 7}, {},
         {kOpen1, kStatus, kClose, kOpen2, kStatus, kClose}, "0X3"},
        {"SecondPortKnownFailure", "/COM2/", "\0X"s, {}, {0, 4}, {},
         {kOpen0, kStatus, kClose, kOpen1, kStatus, kClose}, "\0X"s},
        {"SecondPortRecovers", "/COM2/", "XX", {}, {9, 0}, {},
         {kOpen0, kStatus, kClose, kOpen1, kStatus, kClose}, "X0"},
        {"SamePortTwice", "/csOpenCom2 /COM2/", "X", {}, {6, 6}, {},
         {kOpen1, kStatus, kClose, kOpen1, kStatus, kClose}, "XX2"},
        {"SecondPortCannotOpen", "/COM2/", {}, {0, 5}, {0}, {},
         {kOpen0, kStatus, kClose, kOpen1, "無法開啟:  COM: 2", "events", "events", "clock",
          "clock", "events", "clock", "unload", kClose},
         ""}}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

class ReaderRunEdges : public ReaderRunFixture, public ::testing::Test {};

TEST_F(ReaderRunEdges, Status0AtOnceNeverBringsUpTheWindow) {
  EXPECT_TRUE(RunJob("/COM3/"));
  EXPECT_EQ(view.loads, 0);
}

TEST_F(ReaderRunEdges, OnlyTheExactNameChg2engMovesToTheBackupFolderFirst) {
  for (const char* exe : {"chg2eng", "Chg2eng", "orbin"}) {
    log.clear();
    EXPECT_TRUE(RunJob("", exe));
    const Log expected = exe == "chg2eng"s ? Log{"drive c:", "directory c:\\backup\\vexa\\", kOpen0}
                                           : Log{kOpen0, kStatus, kClose};
    EXPECT_EQ(Log(log.begin(), log.begin() + 3), expected) << exe;
  }
}

TEST_F(ReaderRunEdges, CloseButtonDuringTheWaitEndsWithoutWritingTheFile) {
  struct ClickingPump : EventPump {
    ProgressWindow* window = nullptr;
    void DispatchPending() override { window->Command1_Click(); }
  } clicking;
  ProgressWindow clicked_window{view, reader, clicking};
  clicking.window = &clicked_window;
  ReaderRun clicked{{reader, clicked_window, files, directory, clock, clicking}};
  reader.open = {3};
  files.files["ickno"] = "X";
  EXPECT_THROW(clicked.Run("/COM2/", "orbin"), EndProgram);
  EXPECT_EQ(files.files["ickno"], "X");
  EXPECT_EQ(log, (Log{kOpen0, "無法開啟:  COM: 1", kClose, "unload"}));
}

TEST_F(ReaderRunEdges, MissingLibraryIsAFailureNaming53AndTheLibrary) {
  reader.failure = kReaderLibraryMissing;
  try {
    run.Run("/ReadF4", "orbin");
    FAIL();
  } catch (const ReaderLibraryFailure& failure) {
    EXPECT_EQ(failure.number(), 53);
    EXPECT_NE(std::string(failure.what()).find("cshis.dll"), std::string::npos);
    EXPECT_NE(std::string(failure.what()).find("csOpenCom"), std::string::npos);
  }
}

TEST_F(ReaderRunEdges, EndingGoesOnPastAFailingClose) {
  window.ShowProgress("m");
  reader.close_fails = true;
  EXPECT_THROW(run.CloseReaderAndEnd(), EndProgram);
  EXPECT_FALSE(view.loaded);
}

struct MarkCase {
  std::string before;
  std::int16_t position;
  const char* text;
  std::string after;
};

class MarkStatusFileTest : public ::testing::TestWithParam<MarkCase> {};

TEST_P(MarkStatusFileTest, WritesAtTheByteExtendingWithZeros) {
  testing::FakeFileSystem files;
  if (!GetParam().before.empty()) files.files["ickno"] = GetParam().before;
  MarkStatusFile(files, GetParam().position, GetParam().text);
  EXPECT_EQ(files.files["ickno"], GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(Marks, MarkStatusFileTest,
                         ::testing::Values(MarkCase{"", 3, "1", "\0\0001"s},
                                           MarkCase{"", 1, "X", "X"},
                                           MarkCase{"abcd", 2, "X", "aXcd"},
                                           MarkCase{"a", 2, "X", "aX"}));

TEST(MarkStatusFile, PositionBelowOneIsAFailure) {
  testing::FakeFileSystem files;
  EXPECT_THROW(MarkStatusFile(files, 0, "X"), Failure);
  EXPECT_FALSE(files.FileExists("ickno"));
}

}  // namespace
}  // namespace orbin
