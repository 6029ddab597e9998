// The print script "print2vb" as the main system might leave it: any bytes,
// interpreted on the recording surface.
#include <string>

#include "fakes/recording_surface.h"
#include "fuzz_support.h"
#include "printing/print_script.h"

using namespace orbin;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view script = fuzz::AsText(data, size);
  testing::RecordingSurface printer;
  const fuzz::Outcome outcome = fuzz::RunRule([&] { RunPrintScript(script, printer); });

  fuzz::Require(!outcome.exit_code, "the interpreter leaves ending the program to its caller", script);
  // The document is closed exactly once, as the last operation: sent after a
  // normal return, discarded after a failure.
  const auto& ops = printer.operations;
  int closings = 0;
  for (const std::string& op : ops) closings += op == "enddoc" || op == "abortdoc";
  fuzz::Require(closings == 1, "the document is ended or aborted exactly once", script);
  fuzz::Require(ops.back() == (outcome.failure ? "abortdoc" : "enddoc"),
                "the last operation sends the document, or aborts it after a failure", script);
  if (outcome.failure) {
    fuzz::Require(outcome.failure->starts_with("print2vb"), "a failure names \"print2vb\"",
                  *outcome.failure);
  }
  return 0;
}
