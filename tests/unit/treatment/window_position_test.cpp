#include "treatment/window_position.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace orbin {
namespace {

TEST(ReadLeadingNumber, ReadsSignDigitsAndOnePoint) {
  EXPECT_EQ(ReadLeadingNumber("1200/T300"), 1200);
  EXPECT_EQ(ReadLeadingNumber(" - 12.5.3"), -12.5);
  EXPECT_EQ(ReadLeadingNumber("+.5"), 0.5);
  EXPECT_EQ(ReadLeadingNumber("1e3"), 1);
  EXPECT_EQ(ReadLeadingNumber("-."), 0);
  EXPECT_EQ(ReadLeadingNumber(""), 0);
}

// Found by fuzzing: a run of digits beyond the double range threw
// std::out_of_range out of the reader.
TEST(ReadLeadingNumber, NumbersBeyondTheDoubleRangeDoNotThrow) {
  EXPECT_EQ(ReadLeadingNumber(std::string(400, '9')), HUGE_VAL);
  EXPECT_EQ(ReadLeadingNumber("-" + std::string(400, '9')), -HUGE_VAL);
  EXPECT_EQ(ReadLeadingNumber("0." + std::string(400, '0') + "1"), 0);
}

TEST(SwitchPosition, ReadsAtMostFourCharactersAfterTheFirstSwitch) {
  EXPECT_EQ(SwitchPosition("/L1200/T300", "/L"), 1200);
  EXPECT_EQ(SwitchPosition("/L1200/T300", "/T"), 300);
  EXPECT_EQ(SwitchPosition("/L123456", "/L"), 1234);
  EXPECT_EQ(SwitchPosition("/L", "/L"), 0);
  EXPECT_EQ(SwitchPosition("/T300", "/L"), std::nullopt);
}

}  // namespace
}  // namespace orbin
