#include "officeinfo/window_layout.h"

#include <gtest/gtest.h>

#include "fake_region_platform.h"

namespace orbin {
namespace {

std::vector<double> Box(const Shape& s) { return {s.left, s.top, s.width, s.height}; }

TEST(LayOutOfficeWindow, ShippedGeometry) {
  const OfficeWindowLayout layout = LayOutOfficeWindow();
  EXPECT_EQ(std::vector<double>({layout.window_width, layout.window_height, layout.label3_width}),
            std::vector<double>({6765, 6765, 6525}));
  EXPECT_EQ(Box(layout.outer), std::vector<double>({120, 120, 6525, 6525}));
  EXPECT_EQ(Box(layout.rim), Box(layout.outer));
  EXPECT_EQ(Box(layout.cutter), std::vector<double>({2415, 2415, 1935, 1935}));
  const WindowPosition centred = CentreOnScreen(19200, 14400, layout);  // 1280 x 960 pixels
  EXPECT_EQ(std::vector<double>({centred.left, centred.top}), std::vector<double>({6217.5, 3817.5}));
}

TEST(OfficeWindowRegion, ShippedRingAt96And120Dpi) {
  for (auto [twips_per_pixel, outer, cutter] :
       {std::tuple{15.0, "#2 ellipse 8 8 443 443", "#3 ellipse 161 161 290 290"},
        std::tuple{12.0, "#2 ellipse 10 10 554 554", "#3 ellipse 201 201 362 362"}}) {
    testing::FakeRegionPlatform platform;
    MakeFrmRegion(OfficeWindowRegion(LayOutOfficeWindow(), twips_per_pixel, twips_per_pixel),
                  platform);
    EXPECT_EQ(platform.log, (std::vector<std::string>{"#1 rect 0 0 0 0", outer, "or #1 #2", "delete #2",
                                                      cutter, "diff #1 #3", "delete #3", "apply #1"}));
  }
}

}  // namespace
}  // namespace orbin
