#include "officeinfo/countdown.h"

#include <gtest/gtest.h>

#include "officeinfo/plain_number.h"

namespace orbin {
namespace {

TEST(CloseCountFromArguments, NumberAfterShow) {
  const std::pair<const char*, std::int32_t> cases[] = {
      {"/show", 60}, {"/show45", 45}, {"/show0", 60}, {"/show-5", 60}, {"/show2.5", 2},
      {"/show3.5", 4}, {"/show0.5", 60}, {"/show10/", 3}, {"", 60}, {"/L1200", 60},
      {"/show  30", 30}, {"/show+7x", 7},
      {"/show\t30", 60}, {"/show1E3", 1}, {"/show&H20", 60},  // spaces only, no E, no &H
      {"/Show30", 60}, {"/show20 /show30", 20}, {"/show40 /show10/", 3},
      {"/show99999999999999999999", 2147483647}, {"/show-99999999999999999999", 60}};
  for (auto [args, expected] : cases) EXPECT_EQ(CloseCountFromArguments(args), expected) << args;
}

TEST(ReadPlainNumber, SignDigitsPoint) {
  const std::pair<const char*, double> cases[] = {
      {"05", 5}, {" 7", 7}, {"ab", 0}, {"  ", 0}, {"-", 0}, {".", 0},
      {".5", 0.5}, {"9.", 9}, {"-3", -3}, {"1 2", 1}, {"12.5.3", 12.5}};
  for (auto [text, expected] : cases) EXPECT_EQ(ReadPlainNumber(text), expected) << text;
}

TEST(CountdownTick, CountsDownToUnloadBelowOne) {
  std::int32_t close_count = 60;
  const CountdownStep first = CountdownTick(close_count);
  EXPECT_EQ(first.caption, "關閉   59");
  EXPECT_FALSE(first.unload);
  for (int i = 0; i < 58; ++i) EXPECT_FALSE(CountdownTick(close_count).unload);
  const CountdownStep last = CountdownTick(close_count);
  EXPECT_EQ(last.caption, "關閉   0");
  EXPECT_TRUE(last.unload);
}

}  // namespace
}  // namespace orbin
