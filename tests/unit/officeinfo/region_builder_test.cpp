#include "officeinfo/region_builder.h"

#include <gtest/gtest.h>

#include "fake_region_platform.h"

namespace orbin {
namespace {

using V = std::vector<std::string>;
constexpr ShapeKind kRect = ShapeKind::kRectangle, kOval = ShapeKind::kOval;

// Twips at 15 per pixel.
Shape Px(ShapeKind kind, double l, double t, double w, double h) {
  return {kind, l * 15, t * 15, w * 15, h * 15};
}

struct RegionCase {
  const char* name;
  std::vector<Shape> outer, cutters;
  V log;
};

class MakeFrmRegionTest : public ::testing::TestWithParam<RegionCase> {};

TEST_P(MakeFrmRegionTest, BuildsAppliesOrRejects) {
  testing::FakeRegionPlatform platform;
  // A 400 x 300.5 pixel window.
  RegionInput in{GetParam().outer, GetParam().cutters, 6000, 4507.5, 15, 15};
  const bool applied = MakeFrmRegion(in, platform);
  EXPECT_EQ(platform.log, GetParam().log);
  EXPECT_EQ(applied, GetParam().log.back().starts_with("apply"));
}

const V kRejected = {"message Shapes must be either Rectangle or Oval", "delete #1"};

V Concat(V a, const V& b) { a.insert(a.end(), b.begin(), b.end()); return a; }

INSTANTIATE_TEST_SUITE_P(
    Shapes, MakeFrmRegionTest,
    ::testing::Values(
        // All outer shapes are joined before the first cutter is removed.
        RegionCase{"UnionThenDifference",
                   {Px(kRect, 0, 0, 10, 10), Px(kOval, 20, 0, 10, 10)},
                   {Px(kRect, 0, 0, 5, 10), Px(kOval, 1, 2, 3, 4)},
                   {"#1 rect 0 0 0 0", "#2 rect 0 0 10 10", "or #1 #2", "delete #2",
                    "#3 ellipse 20 0 30 10", "or #1 #3", "delete #3", "#4 rect 0 0 5 10",
                    "diff #1 #4", "delete #4", "#5 ellipse 1 2 4 6", "diff #1 #5", "delete #5",
                    "apply #1"}},
        // Covers the window whatever its own place: 400 - 25, 300.5 - 25 = 275.5
        // -> 276, 300.5 - 50 = 250.5 -> 250.
        RegionCase{"RoundedRectangleOverTheWindow",
                   {Px(ShapeKind::kRoundedRectangle, 100, 90, 20, 20)},
                   {},
                   {"#1 rect 0 0 0 0", "#2 roundrect 0 0 375 276 350 250", "or #1 #2",
                    "delete #2", "apply #1"}},
        // Edges of 2.5 -> 2, 3.5 -> 4, 4.5 -> 4, 5.5 -> 6; the cutter's right
        // edge 2.5 + 2.5 is rounded after the addition: 5, not 2 + 2.
        RegionCase{"HalfPixelEdgesToEven",
                   {Px(kRect, 2.5, 3.5, 2, 2)},
                   {Px(kOval, 2.5, 0.5, 2.5, 1)},
                   {"#1 rect 0 0 0 0", "#2 rect 2 4 4 6", "or #1 #2", "delete #2",
                    "#3 ellipse 2 0 5 2", "diff #1 #3", "delete #3", "apply #1"}},
        // A rejected kind stops everything, pieces already joined included.
        RegionCase{"OuterSquare",
                   {Px(kOval, 0, 0, 9, 9), Px(ShapeKind::kSquare, 0, 0, 9, 9)},
                   {},
                   Concat({"#1 rect 0 0 0 0", "#2 ellipse 0 0 9 9", "or #1 #2", "delete #2"}, kRejected)},
        RegionCase{"OuterCircle", {Px(ShapeKind::kCircle, 0, 0, 9, 9)}, {},
                   Concat({"#1 rect 0 0 0 0"}, kRejected)},
        RegionCase{"OuterRoundedSquare", {Px(ShapeKind::kRoundedSquare, 0, 0, 9, 9)}, {},
                   Concat({"#1 rect 0 0 0 0"}, kRejected)},
        RegionCase{"CutterRoundedRectangle", {}, {Px(ShapeKind::kRoundedRectangle, 0, 0, 9, 9)},
                   Concat({"#1 rect 0 0 0 0"}, kRejected)},
        RegionCase{"CutterCircle", {}, {Px(ShapeKind::kCircle, 0, 0, 9, 9)},
                   Concat({"#1 rect 0 0 0 0"}, kRejected)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MakeFrmRegion, EachAxisHasItsOwnScale) {
  testing::FakeRegionPlatform platform;
  MakeFrmRegion({{{kRect, 120, 120, 240, 240}}, {}, 6765, 6765, 12, 15}, platform);
  EXPECT_EQ(platform.log.at(1), "#2 rect 10 8 30 24");
}

}  // namespace
}  // namespace orbin
