#pragma once
// The window's outline from its shape controls: the outer shapes joined,
// then the cutter shapes removed, handed to the system as the window region.
#include <cstdint>
#include <string>
#include <vector>

namespace orbin {

// Shape control kinds; only rectangle, oval and (outer shapes only) rounded
// rectangle make a region.
enum class ShapeKind : int {
  kRectangle = 0,
  kSquare = 1,
  kOval = 2,
  kCircle = 3,
  kRoundedRectangle = 4,
  kRoundedSquare = 5
};

// A shape control as placed on the window, in twips from the window's
// top-left corner (fractions allowed: centring halves odd sizes).
struct Shape {
  ShapeKind kind = ShapeKind::kRectangle;
  double left = 0, top = 0, width = 0, height = 0;
};

struct RegionInput {
  std::vector<Shape> outer;    // `shpForm`, joined in index order
  std::vector<Shape> cutters;  // `shpCutter`, removed in index order
  double window_width = 0, window_height = 0;  // twips
  double twips_per_pixel_x = 15, twips_per_pixel_y = 15;
};

inline constexpr char kShapeKindMessage[] = "Shapes must be either Rectangle or Oval";

// The system's region calls, in pixels relative to the window's top-left
// corner. Rectangles and ellipses span left/top up to, not including,
// right/bottom as the system's region calls do.
class RegionPlatform {
 public:
  using Region = std::uintptr_t;  // the system's region handle
  enum class Combine { kUnion, kDifference };

  virtual ~RegionPlatform() = default;
  virtual Region CreateRect(int left, int top, int right, int bottom) = 0;
  virtual Region CreateElliptic(int left, int top, int right, int bottom) = 0;
  virtual Region CreateRoundRect(int left, int top, int right, int bottom, int corner_width,
                                 int corner_height) = 0;
  // target = target (union|difference) other.
  virtual void CombineInto(Region target, Region other, Combine mode) = 0;
  virtual void Delete(Region region) = 0;
  // The window takes the region (and owns it from then on) and redraws.
  virtual void ApplyToWindow(Region region) = 0;
  // A message box: OK button only, the program's title as caption.
  virtual void ShowMessage(const std::string& text) = 0;
};

// Builds and applies the region. A shape of a kind not accepted where it
// stands shows kShapeKindMessage and applies nothing (the window keeps its
// rectangle); returns whether a region was applied. Every region it creates
// is either deleted or given to the window.
bool MakeFrmRegion(const RegionInput& input, RegionPlatform& platform);

}  // namespace orbin
