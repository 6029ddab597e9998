// The argument text the main system passes, through the dispatch and every
// reader of a switch: the job, the printer name after "/Printer/", the
// window position "/L" and "/T", the countdown of "/show", the main
// program's name after "/vexa", the picture marks "/0n/" (and "/H/"), and
// the reader's ports.
#include <cmath>
#include <string>

#include "cardreader/reader_ports.h"
#include "fakes/fake_platform.h"
#include "fakes/recording_surface.h"
#include "fuzz_support.h"
#include "officeinfo/countdown.h"
#include "officeinfo/installation_facts.h"
#include "printing/picture_print.h"
#include "unit/printing/bitmap_bytes.h"
#include "startup/dispatch.h"
#include "treatment/window_position.h"

using namespace orbin;

namespace {

bool Has(std::string_view text, std::string_view literal) {
  return text.find(literal) != std::string_view::npos;
}

void CheckDispatch(const std::string& args) {
  const Job job = SelectJob(args, "orbin");
  if (Has(args, "/Print/")) fuzz::Require(job == Job::kPicturePrint, "\"/Print/\" comes first", args);
  if (job == Job::kReaderAuthentication)
    fuzz::Require(Has(args, "/ReadF4"), "the reader job needs \"/ReadF4\"", args);
  const Job as_chg2eng = SelectJob(args, "chg2eng");
  fuzz::Require(as_chg2eng == job || (job == Job::kOfficeInfo && !Has(args, "/show") &&
                                      as_chg2eng == Job::kReaderAuthentication),
                "the name \"chg2eng\" matters only when no switch is given", args);

  const std::string printer = PrinterNameArgument(args);
  const std::size_t at = args.find("/Printer/");
  fuzz::Require(printer == (at == std::string::npos ? "" : args.substr(at + 9)),
                "the printer name is everything after the first \"/Printer/\"", args);

  // A command line: the program's path, quoted or not, then the argument text.
  const std::size_t lead = args.find_first_not_of(" \t");
  const std::string expected = lead == std::string::npos ? "" : args.substr(lead);
  fuzz::Require(ArgumentText("C:\\vexa\\orbin.exe " + args) == expected,
                "the argument text follows the plain program path", args);
  fuzz::Require(ArgumentText("\"C:\\Program Files\\orbin.exe\" " + args) == expected,
                "the argument text follows the quoted program path", args);
  const std::string base = ExecutableBaseName(args);
  fuzz::Require(base.find_first_of("\\/:") == std::string::npos,
                "an executable's base name holds no folder", args);
  const std::string start_dir = MakeStartDir(args);
  fuzz::Require(start_dir.ends_with('\\') && start_dir.size() <= args.size() + 1,
                "the start-up directory ends in one backslash", args);
}

void CheckSwitchReaders(const std::string& args) {
  for (const char* name : {"/L", "/T"}) {
    const std::optional<double> position = SwitchPosition(args, name);
    fuzz::Require(position.has_value() == Has(args, name), "a position comes with its switch", args);
    if (position) fuzz::Require(std::isfinite(*position), "a position is a finite number", args);
  }
  const std::int32_t seconds = CloseCountFromArguments(args);
  fuzz::Require(seconds >= 1, "the countdown starts at 1 second or more", args);
  if (Has(args, "/show10/")) fuzz::Require(seconds == 3, "\"/show10/\" counts 3 seconds", args);
  const std::string program = MainProgramName(args);
  fuzz::Require(program.ends_with(".exe"), "the main program's name ends in \".exe\"", args);
  const ReaderPorts ports = ReaderPortsFromArguments(args);
  fuzz::Require(ports.first >= 1 && ports.first <= 4, "the first port is COM1 to COM4", args);
  if (ports.second)
    fuzz::Require(*ports.second >= 1 && *ports.second <= 4, "the second port is COM1 to COM4", args);
}

// Pictures 0 to 9 exist when their number is even; each marked one that
// exists is drawn once, from 9 down, and the document is sent.
void CheckPictureMarks(const std::string& args) {
  testing::FakeFileSystem files;
  // Picture n is n + 1 pixels wide, so the recording tells them apart.
  for (int n = 0; n <= 9; n += 2) files.files[PicturePath(n)] = testing::BitmapFile(n + 1, 1);
  testing::RecordingSurface printer;
  const fuzz::Outcome outcome = fuzz::RunRule([&] { RunPicturePrint(args, files, printer); });
  fuzz::Require(outcome.returned(), "picture print over existing pictures succeeds", args);
  std::vector<std::string> expected;
  if (Has(args, "/H/")) expected.push_back("orientation 2");
  expected.push_back("quality -2");
  for (int n = 9; n >= 0; --n) {
    if (n % 2 != 0 || !Has(args, "/0" + std::to_string(n) + "/")) continue;
    expected.push_back("picture " + std::to_string(n + 1) + "x1 0,0");
    if (n > 0) expected.push_back("newpage");
  }
  expected.push_back("enddoc");
  fuzz::Require(printer.operations == expected, "the marked pictures are printed, 9 down to 0", args);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string args(fuzz::AsText(data, size));
  CheckDispatch(args);
  CheckSwitchReaders(args);
  CheckPictureMarks(args);
  return 0;
}
