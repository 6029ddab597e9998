#pragma once
// Where `Form_Load` puts the office window and its shapes, in twips: a
// window just large enough for the outer circle plus a 120-twip margin, the
// cutter centred on that circle.
#include "officeinfo/region_builder.h"

namespace orbin {

inline constexpr double kOuterShapeWidth = 6525;  // `shpForm` element 0, design
inline constexpr double kCutterWidth = 1935;      // `shpCutter` element 0, design
inline constexpr double kShapeMargin = 120;

struct OfficeWindowLayout {
  double window_width = 0, window_height = 0;
  double label3_width = 0;
  Shape outer;   // `shpForm` element 0
  Shape rim;     // `ShapeB1` element 0, the outline tracing the window's rim
  Shape cutter;  // `shpCutter` element 0
};

OfficeWindowLayout LayOutOfficeWindow();

struct WindowPosition {
  double left = 0, top = 0;
};

// The window centred on the screen, all in twips.
WindowPosition CentreOnScreen(double screen_width, double screen_height,
                              const OfficeWindowLayout& layout);

// The input of `MakeFrmRegion` for the laid-out window.
RegionInput OfficeWindowRegion(const OfficeWindowLayout& layout, double twips_per_pixel_x,
                               double twips_per_pixel_y);

}  // namespace orbin
