#include "officeinfo/window_layout.h"

namespace orbin {

OfficeWindowLayout LayOutOfficeWindow() {
  OfficeWindowLayout layout;
  layout.outer = {ShapeKind::kOval, kShapeMargin, kShapeMargin, kOuterShapeWidth,
                  kOuterShapeWidth};
  layout.window_width = layout.outer.width + 2 * kShapeMargin;
  layout.window_height = layout.outer.height + 2 * kShapeMargin;
  layout.label3_width = layout.window_width - 2 * kShapeMargin;
  layout.rim = layout.outer;
  layout.cutter = {ShapeKind::kOval,
                   layout.outer.left + layout.outer.width / 2 - kCutterWidth / 2,
                   layout.outer.top + layout.outer.height / 2 - kCutterWidth / 2, kCutterWidth,
                   kCutterWidth};
  return layout;
}

WindowPosition CentreOnScreen(double screen_width, double screen_height,
                              const OfficeWindowLayout& layout) {
  return {(screen_width - layout.window_width) / 2, (screen_height - layout.window_height) / 2};
}

RegionInput OfficeWindowRegion(const OfficeWindowLayout& layout, double twips_per_pixel_x,
                               double twips_per_pixel_y) {
  return {{layout.outer},       {layout.cutter},   layout.window_width,
          layout.window_height, twips_per_pixel_x, twips_per_pixel_y};
}

}  // namespace orbin
