#include "officeinfo/region_builder.h"

#include <optional>

#include "common/lenient_number.h"

namespace orbin {
namespace {

using Region = RegionPlatform::Region;

// Shapes are read in pixels (fractions kept); edges are rounded, halves to
// even, only after the additions.
std::optional<Region> CreatePiece(const Shape& shape, bool outer, const RegionInput& in,
                                  RegionPlatform& platform) {
  const double left = shape.left / in.twips_per_pixel_x;
  const double top = shape.top / in.twips_per_pixel_y;
  const double width = shape.width / in.twips_per_pixel_x;
  const double height = shape.height / in.twips_per_pixel_y;
  const int l = RoundToInt32(left), t = RoundToInt32(top);
  const int r = RoundToInt32(left + width), b = RoundToInt32(top + height);
  switch (shape.kind) {
    case ShapeKind::kRectangle:
      return platform.CreateRect(l, t, r, b);
    case ShapeKind::kOval:
      return platform.CreateElliptic(l, t, r, b);
    case ShapeKind::kRoundedRectangle: {
      if (!outer) return std::nullopt;
      // Covers the whole window whatever the shape's own place and size.
      const double ww = in.window_width / in.twips_per_pixel_x;
      const double wh = in.window_height / in.twips_per_pixel_y;
      return platform.CreateRoundRect(0, 0, RoundToInt32(ww - 25), RoundToInt32(wh - 25),
                                      RoundToInt32(ww - 50), RoundToInt32(wh - 50));
    }
    default:
      return std::nullopt;
  }
}

// Combines every shape of `shapes` into `target`; false at the first shape
// of a kind not accepted.
bool CombineShapes(const std::vector<Shape>& shapes, bool outer, const RegionInput& in,
                   Region target, RegionPlatform& platform) {
  const auto mode = outer ? RegionPlatform::Combine::kUnion : RegionPlatform::Combine::kDifference;
  for (const Shape& shape : shapes) {
    std::optional<Region> piece = CreatePiece(shape, outer, in, platform);
    if (!piece) return false;
    platform.CombineInto(target, *piece, mode);
    platform.Delete(*piece);
  }
  return true;
}

}  // namespace

bool MakeFrmRegion(const RegionInput& input, RegionPlatform& platform) {
  const Region accumulated = platform.CreateRect(0, 0, 0, 0);
  // All outer shapes are joined before any cutter is removed, so a cutter
  // removes its area from every outer shape.
  if (!CombineShapes(input.outer, true, input, accumulated, platform) ||
      !CombineShapes(input.cutters, false, input, accumulated, platform)) {
    platform.ShowMessage(kShapeKindMessage);
    platform.Delete(accumulated);
    return false;
  }
  platform.ApplyToWindow(accumulated);
  return true;
}

}  // namespace orbin
