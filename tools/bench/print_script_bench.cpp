// The print-script interpreter against merely reading its file: a generated
// script of 100,000 commands is interpreted on a surface that only counts,
// and the same file is read line by line with std::getline. Both are timed
// in the same iterations; the counters give both times and their ratio
// (target: at most 1.5; tools/bench/run prints it).
#include <benchmark/benchmark.h>

#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>

#include "printing/print_script.h"

namespace orbin {
namespace {

constexpr int kCommands = 100000;

// Keeps only what the interpreter reads back (the current position).
class CountingSurface : public DrawingSurface {
 public:
  void SetOrientation(Orientation) override { ++operations; }
  void SetQuality(std::int16_t) override { ++operations; }
  void SetFontSize(float) override { ++operations; }
  float CurrentX() const override { return x_; }
  float CurrentY() const override { return y_; }
  void SetCurrentX(float x) override { x_ = x; }
  void SetCurrentY(float y) override { y_ = y; }
  void PrintText(std::string_view text) override {
    ++operations;
    x_ += 100.0f * static_cast<float>(text.size());
  }
  void EndLine() override { x_ = 0, y_ += 240; }
  float LineHeight() override { return 240; }
  float PageHeight() override { return 15840; }
  void Line(std::optional<Point> start, float dx, float dy, LineMode) override {
    ++operations;
    Point from = start.value_or(Point{x_, y_});
    x_ = from.x + dx, y_ = from.y + dy;
  }
  void Circle(Point centre, float) override { ++operations, x_ = centre.x, y_ = centre.y; }
  void DrawPicture(const Picture&, Point) override { ++operations; }
  void NewPage() override { ++operations, x_ = y_ = 0; }
  void EndDocument() override { ++operations; }
  void AbortDocument() override { ++operations; }

  long operations = 0;

 private:
  float x_ = 0, y_ = 0;
};

// One command of a mix like the main system's printouts: positioned and
// underlined text (a tenth of it Chinese), lines and boxes with fields on
// one line or one per line, circles, size changes and page breaks.
void AppendCommand(int i, std::string& script) {
  std::string n = std::to_string(i % 9000);
  switch (i % 10) {
    case 0: script += "Print\r\n" + n + ",1440\r\nPatient record " + n + "\r\n"; break;
    case 1: script += "PrintL\r\n1440," + n + ",1700\r\nTotal\r\n"; break;
    case 2: script += "Print;\xb6\x45\xa9\xd2 " + n + "\r\n"; break;  // code page 950
    case 3: script += "Line\r\n100\r\n" + n + "\r\n300.5\r\n400\r\n"; break;
    case 4: script += "LineB\r\n100, 200, " + n + ", 500\r\n"; break;
    case 5: script += "LineBF\r\n100,200,1000," + n + "\r\n"; break;
    case 6: script += "Line-\r\n0," + n + "\r\n"; break;
    case 7: script += "Circle\r\n" + n + ",600,250\r\n"; break;
    case 8: script += "Size10\r\n"; break;
    case 9: script += i % 1000 == 999 ? "New\r\n" : "Print;continued\r\n"; break;
  }
}

const std::string& ScriptPath() {
  static const std::string path = [] {
    std::filesystem::path dir = std::filesystem::temp_directory_path() / "orbin_print_script_bench";
    std::filesystem::create_directories(dir);
    std::string script = "3\r\n0\r\n";
    for (int i = 0; i < kCommands; ++i) AppendCommand(i, script);
    script += "End\r\n";
    std::filesystem::path file = dir / "print2vb";
    std::ofstream(file, std::ios::binary) << script;
    return file.string();
  }();
  return path;
}

long ReadLineByLine(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::string line;
  long lines = 0;
  while (std::getline(in, line)) ++lines;
  return lines;
}

long Interpret(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::string bytes(std::filesystem::file_size(path), '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  CountingSurface printer;
  RunPrintScript(bytes, printer);
  return printer.operations;
}

// Processor time, not wall time: the build machine is shared, and waiting
// for a core would blur the ratio.
template <typename Work>
double SecondsOf(Work work) {
  std::clock_t start = std::clock();
  benchmark::DoNotOptimize(work());
  return static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
}

void BM_PrintScriptAgainstLineReading(benchmark::State& state) {
  const std::string& path = ScriptPath();
  double reading = 0, interpreting = 0;
  for (auto _ : state) {
    double read_seconds = SecondsOf([&] { return ReadLineByLine(path); });
    double interpret_seconds = SecondsOf([&] { return Interpret(path); });
    state.SetIterationTime(interpret_seconds);
    reading += read_seconds;
    interpreting += interpret_seconds;
  }
  double iterations = static_cast<double>(state.iterations());
  state.counters["read_lines_ms"] = 1000 * reading / iterations;
  state.counters["interpret_ms"] = 1000 * interpreting / iterations;
  state.counters["ratio"] = interpreting / reading;
}
BENCHMARK(BM_PrintScriptAgainstLineReading)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace orbin
