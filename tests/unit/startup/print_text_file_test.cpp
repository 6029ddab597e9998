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

TEST(SplitTextLines, ALineEndingInHalfACharacterKeepsItsLineEnd) {
  using V = std::vector<std::string>;
  EXPECT_EQ(SplitTextLines("\xb6\x45\xa4\r\nIC;11B;\r\n\xa4\nnext\xa4"),
            (V{"診?", "IC;11B;", "?", "next?"}));
}

TEST(PrintTextFile, PrintsLinesInOrderOnALandscapePageAtTwelvePoints) {
  testing::RecordingSurface printer;
  PrintTextFile({"IC;11B;-;", "診所"}, printer);
  EXPECT_EQ(printer.operations,
            (std::vector<std::string>{"orientation 2", "font 12", "text 0,0 IC;11B;-;",
                                      "text 0,240 診所", "enddoc"}));
}

TEST(PrintTextFile, LinesPastTheBottomContinueOnNewPages) {
  testing::RecordingSurface printer;  // ten lines fit on a page
  std::vector<std::string> lines;
  for (int i = 1; i <= 25; ++i) lines.push_back(std::to_string(i));
  PrintTextFile(lines, printer);
  EXPECT_EQ(printer.pages_with_drawing, 3);
  std::vector<std::string> texts;
  for (const std::string& op : printer.operations)
    if (op.starts_with("text") || op == "newpage") texts.push_back(op);
  ASSERT_EQ(texts.size(), 27u);
  EXPECT_EQ(texts[9], "text 0,2160 10");
  EXPECT_EQ(texts[10], "newpage");
  EXPECT_EQ(texts[11], "text 0,0 11");
  EXPECT_EQ(texts[21], "newpage");
  EXPECT_EQ(texts[26], "text 0,960 25");
}

}  // namespace
}  // namespace orbin
