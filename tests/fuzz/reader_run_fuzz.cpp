// The reader run over a random fake reader library (results of every call,
// a missing library or entry point, a failing close), a random "ickno", a
// random argument text and executable name, and the banner's timer firing
// at random while the run waits. The run always ends the program or fails
// with the library's or the file's failure; "ickno" changes only in its
// three marks.
#include <fuzzer/FuzzedDataProvider.h>

#include <string>
#include <vector>

#include "cardreader/reader_run.h"
#include "cardreader/status_file.h"
#include "fakes/fake_platform.h"
#include "fakes/fake_reader_library.h"
#include "fuzz_support.h"
#include "unit/cardreader/fake_progress_view.h"

using namespace orbin;

namespace {

// Each dispatch lets one second pass and may fire the banner's timer.
class TickingPump : public EventPump {
 public:
  TickingPump(testing::FakeClock& clock, FuzzedDataProvider& in) : clock_(clock), in_(in) {}
  ProgressWindow* window = nullptr;
  int dispatches = 0;

  void DispatchPending() override {
    fuzz::Require(++dispatches < 100000, "waiting ends");
    clock_.Advance(1);
    const int timer_ticks = in_.ConsumeIntegralInRange(0, 3) == 3 ? 700 : 0;
    for (int i = 0; i < timer_ticks && window->loaded(); ++i) window->Timer1_Timer();
  }

 private:
  testing::FakeClock& clock_;
  FuzzedDataProvider& in_;
};

class FuzzDirectory : public WorkingDirectory {
 public:
  explicit FuzzDirectory(bool fails) : fails_(fails) {}
  void ChangeDrive(const std::string& drive) override { Change(drive); }
  void ChangeDirectory(const std::string& directory) override { Change(directory); }

 private:
  void Change(const std::string& to) {
    if (fails_) throw Failure("Path not found: \"" + to + "\"");
  }
  bool fails_;
};

std::deque<std::int16_t> Results(FuzzedDataProvider& in) {
  std::deque<std::int16_t> results;
  for (int n = in.ConsumeIntegralInRange(0, 4); n > 0; --n) {
    results.push_back(in.ConsumeBool() ? in.ConsumeIntegralInRange<std::int16_t>(-1, 9)
                                       : in.ConsumeIntegral<std::int16_t>());
  }
  return results;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  std::vector<std::string> log;
  testing::FakeReaderLibrary reader(log);
  reader.open = Results(in);
  reader.status = Results(in);
  reader.verify = Results(in);
  switch (in.ConsumeIntegralInRange(0, 5)) {
    case 0: reader.failure = kReaderLibraryMissing; break;
    case 1: reader.failure = kReaderEntryPointMissing; break;
    default: break;
  }
  reader.close_fails = in.ConsumeBool();
  const bool chg2eng = in.ConsumeBool();
  FuzzDirectory directory(in.ConsumeIntegralInRange(0, 7) == 0);

  testing::FakeFileSystem files;
  const bool had_ickno = in.ConsumeBool();
  const std::string ickno = in.ConsumeRandomLengthString(8);
  if (had_ickno) files.files[kStatusFileName] = ickno;
  const std::string args = in.ConsumeRandomLengthString(40);

  testing::FakeClock clock;
  TickingPump pump(clock, in);
  testing::FakeProgressView view(log);
  ProgressWindow window(view, reader, pump);
  pump.window = &window;
  ReaderRun run({reader, window, files, directory, clock, pump});

  const fuzz::Outcome outcome =
      fuzz::RunRule([&] { run.Run(args, chg2eng ? kReaderExecutableName : "orbin"); });
  fuzz::Require(!outcome.returned(), "the reader run never returns", args);
  if (outcome.exit_code) fuzz::Require(*outcome.exit_code == 0, "the reader run ends with 0", args);
  if (outcome.exit_code && !log.empty()) {
    fuzz::Require(log.back() == "csCloseCom()" || log.back() == "unload",
                  "the reader is closed and the banner unloaded at the end", log.back());
  }

  const auto after = files.files.find(kStatusFileName);
  if (after == files.files.end()) {
    fuzz::Require(!had_ickno, "\"ickno\" is never deleted", ickno);
    return 0;
  }
  const std::string& marks = after->second;
  const std::string before = had_ickno ? ickno : std::string();
  fuzz::Require(marks.size() >= before.size(), "\"ickno\" never shrinks", marks);
  fuzz::Require(marks.size() <= std::max<std::size_t>(before.size(), 3),
                "\"ickno\" grows only up to its three marks", marks);
  fuzz::Require(marks.substr(std::min<std::size_t>(3, marks.size())) ==
                    before.substr(std::min<std::size_t>(3, before.size())),
                "bytes after the marks stay as they were", marks);
  for (std::size_t i = 0; i < 2 && i < marks.size(); ++i) {
    const char was = i < before.size() ? before[i] : '\0';
    fuzz::Require(marks[i] == was || marks[i] == 'X' || marks[i] == '0',
                  "a port's mark becomes \"X\" or \"0\"", marks);
  }
  if (marks.size() > 2 && (before.size() <= 2 || marks[2] != before[2])) {
    fuzz::Require(marks[2] == '\0' || (marks[2] >= '1' && marks[2] <= '4'),
                  "the failed port is one digit 1 to 4", marks);
  }
  return 0;
}
