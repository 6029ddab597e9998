#include "startup/print_text_file.h"

#include <gtest/gtest.h>

#include "fakes/recording_surface.h"

namespace orbin {
namespace {

TEST(SplitTextLines, AcceptsEveryLineEndAndAnUnendedLastLine) {
  using V = std::vector<std::string>;
  EXPECT_EQ(SplitTextLines("a\r\nb\r\n"), (V{"a", "b"}));
  EXPECT_EQ(SplitTextLines("a\rb\nc"), (V{"a", "b", "c"}));
  EXPECT_EQ(SplitTextLines("a\r\n\r\nb"), (V{"a", "", "b"}));
  EXPECT_EQ(SplitTextLines(""), V{});
  EXPECT_EQ(SplitTextLines("\xb6\x45\xa9\xd2\r\n"), V{"診所"});  // code page 950
}

TEST(PrintTextFile, PrintsLinesInOrderOnALandscapePage) {
  testing::RecordingSurface printer;
  PrintTextFile({"IC;11B;-;", "診所"}, printer);
  EXPECT_EQ(printer.operations,
            (std::vector<std::string>{"orientation 2", "text 0,0 IC;11B;-;", "text 0,240 診所",
                                      "enddoc"}));
}

}  // namespace
}  // namespace orbin
