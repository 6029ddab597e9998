// The code table "treat.dat" as any bytes, read for the per-tooth letters
// and the treatment codes, and an entry converted into its item (Chgdat):
// directly, and as staff would reach it by typing site, letter and teeth.
#include <fuzzer/FuzzedDataProvider.h>

#include <string>

#include "common/text.h"
#include "fuzz_support.h"
#include "platform/ansi_lines.h"
#include "treatment/code_table.h"
#include "treatment/site_entry.h"
#include "unit/treatment/entry_rig.h"

using namespace orbin;

namespace {

std::size_t TableLineCount(const std::string& table_bytes) {
  return SplitAnsiLines(table_bytes, LineFeeds::kInLine).size();
}

void CheckCodeField(const std::string& code, std::string_view table) {
  fuzz::Require(code.ends_with(';'), "a code field ends with \";\"", table);
  fuzz::Require(CharCount(code) >= 2 && CharCount(code) <= 9,
                "a code field holds 1 to 8 characters before its \";\"", table);
  fuzz::Require(code.find('\r') == std::string::npos, "a code field holds no line end", table);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  // The entry: site text, the letter and its place, the day.
  const std::string site_text = in.ConsumeRandomLengthString(24);
  const std::string letter(1, static_cast<char>('A' + in.ConsumeIntegralInRange(0, 25)));
  const int chars = static_cast<int>(CharCount(site_text));
  const auto letter_pos = static_cast<std::int16_t>(in.ConsumeIntegralInRange(-1, chars + 1));
  const LocalTime today{in.ConsumeIntegralInRange(1912, 9999), in.ConsumeIntegralInRange(1, 12),
                        in.ConsumeIntegralInRange(1, 31)};
  const std::string typed = in.ConsumeRandomLengthString(12);
  const std::string table = in.ConsumeRemainingBytesAsString();

  testing::FakeFileSystem files;
  files.files[kCodeTableFileName] = table;

  const std::string per_tooth = LoadPerToothLetters(files);
  fuzz::Require(per_tooth.starts_with(kFixedPerToothLetters),
                "the per-tooth letters start with the fixed six", table);
  fuzz::Require(CharCount(per_tooth) <= 6 + TableLineCount(table),
                "each table line adds at most one per-tooth letter", table);

  const std::string code = LookupTreatmentCode(files, letter);
  CheckCodeField(code, table);
  fuzz::Require(LookupTreatmentCode(files, "") == "-;" || !table.empty(),
                "no table gives no code", table);

  // Chgdat's conversion of this entry.
  const SiteEntry entry{site_text, letter, letter_pos};
  const std::string item = BuildItem(entry, per_tooth, code, today);
  const std::string head =
      CharSubstr(site_text, 0, letter_pos > 0 ? static_cast<std::size_t>(letter_pos) : 0) + letter +
      ";" + code;
  fuzz::Require(item.starts_with(head), "an item starts with site, letter and code field", table);
  fuzz::Require(item.ends_with(';'), "an item ends with \";\"", table);

  // The same through the window: site digits, the letter, then any keys.
  testing::EntryRig rig;
  rig.files.files[kCodeTableFileName] = table;
  rig.Load();
  fuzz::Require(rig.form.PerToothLetters() == per_tooth, "the window loads the same letters", table);
  std::string keys = "11" + letter;
  for (char c : typed)
    if (c != '{' && c != '}') keys += c;
  rig.Type(keys);
  if (const auto result = rig.ResultFile()) {
    fuzz::Require(rig.exit_code == 0, "a written result ends the program", *result);
    fuzz::Require(result->starts_with("IC") && result->ends_with(";\r\n"),
                  "the result file holds \"IC...;\" and a line end", *result);
  }
  return 0;
}
