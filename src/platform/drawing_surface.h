#pragma once
// The default printer as a drawing surface. Positions are twips from the
// top-left corner of the printable area, y downward. The first drawing
// operation opens the document; a page break followed by no drawing leaves
// no blank page.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orbin {

enum class Orientation : int { kPortrait = 1, kLandscape = 2 };

// Print quality: -1 draft, -2 low, -3 medium, -4 high; positive: dots per inch.
constexpr std::int16_t kQualityDraft = -1;
constexpr std::int16_t kQualityLow = -2;
constexpr std::int16_t kQualityMedium = -3;
constexpr std::int16_t kQualityHigh = -4;

enum class LineMode { kLine, kBox, kFilledBox };

// A picture ready for the printer: `info` is the system's bitmap
// information (a 40-byte header, then the colour table or the bit masks),
// `pixels` its rows as that header describes them.
struct Picture {
  int width = 0, height = 0;  // pixels
  std::string info;
  std::string pixels;
};

struct Point {
  float x = 0, y = 0;
  bool operator==(const Point&) const = default;
};

class DrawingSurface {
 public:
  virtual ~DrawingSurface() = default;

  virtual void SetOrientation(Orientation orientation) = 0;
  virtual void SetQuality(std::int16_t quality) = 0;
  virtual void SetFontSize(float points) = 0;

  virtual float CurrentX() const = 0;
  virtual float CurrentY() const = 0;
  virtual void SetCurrentX(float x) = 0;
  virtual void SetCurrentY(float y) = 0;

  // Draws `text` with the top of its line at the current position; x advances
  // by its width, y stays.
  virtual void PrintText(std::string_view text) = 0;
  // Ends the line: x back to 0, y down by one line of the current font.
  virtual void EndLine() = 0;
  // What EndLine moves y by, in twips, for the current font.
  virtual float LineHeight() = 0;
  // Height of the printable area of the current page, in twips.
  virtual float PageHeight() = 0;

  // From `start` (or the current position) to start + (dx, dy); the current
  // position moves to that end point.
  virtual void Line(std::optional<Point> start, float dx, float dy,
                    LineMode mode) = 0;
  // Outline; the current position moves to the centre.
  virtual void Circle(Point centre, float radius) = 0;
  // Draws the picture at its own physical size (its pixels at the screen's
  // pixels per inch) with its top-left corner at `top_left`.
  virtual void DrawPicture(const Picture& picture, Point top_left) = 0;

  virtual void NewPage() = 0;
  // Releases the document to the spooler (nothing is sent when nothing was
  // drawn).
  virtual void EndDocument() = 0;
  // Discards the open document: nothing of it is printed.
  virtual void AbortDocument() = 0;
};

}  // namespace orbin
