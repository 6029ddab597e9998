#include "printing/printer_combo_list.h"

#include <gtest/gtest.h>

namespace orbin {
namespace {

using Strings = std::vector<std::string>;

// The print system's answer, counting how often it is asked.
struct CountingLoad {
  int* loads;
  PrinterListContents operator()() const {
    ++*loads;
    return {{"PDF", "Laser A"}, "Laser A"};
  }
};

TEST(PrinterComboList, AsksThePrintSystemOnlyWhenFirstReadAndOnce) {
  int loads = 0;
  PrinterComboList list(CountingLoad{&loads});
  EXPECT_EQ(loads, 0);
  EXPECT_EQ(list.Text(), "Laser A");
  EXPECT_EQ(list.Entries(), (Strings{"PDF", "Laser A"}));
  EXPECT_EQ(loads, 1);
}

struct EditCase {
  const char* name;
  int insert_at;
  bool inserted;
  Strings entries;
};

class PrinterComboListInsert : public ::testing::TestWithParam<EditCase> {};

// As the list control: the installed printers are in the list before a name
// is inserted, -1 appends, a position past the end is refused.
TEST_P(PrinterComboListInsert, InsertsAmongTheInstalledPrinters) {
  int loads = 0;
  PrinterComboList list(CountingLoad{&loads});
  EXPECT_EQ(list.Insert("Named", GetParam().insert_at), GetParam().inserted);
  EXPECT_EQ(list.Entries(), GetParam().entries);
  EXPECT_EQ(loads, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Positions, PrinterComboListInsert,
    ::testing::Values(EditCase{"First", 0, true, {"Named", "PDF", "Laser A"}},
                      EditCase{"Last", -1, true, {"PDF", "Laser A", "Named"}},
                      EditCase{"AtTheEnd", 2, true, {"PDF", "Laser A", "Named"}},
                      EditCase{"PastTheEnd", 3, false, {"PDF", "Laser A"}},
                      EditCase{"Negative", -2, false, {"PDF", "Laser A"}}),
    [](const auto& info) { return info.param.name; });

TEST(PrinterComboList, SelectingAnEntryMakesItTheTextAndAMissingPositionIsRefused) {
  int loads = 0;
  PrinterComboList list(CountingLoad{&loads});
  ASSERT_TRUE(list.Insert("Named", 0));
  EXPECT_TRUE(list.Select(0));
  EXPECT_EQ(list.Text(), "Named");
  EXPECT_FALSE(list.Select(3));
  EXPECT_EQ(list.Text(), "Named");
}

}  // namespace
}  // namespace orbin
