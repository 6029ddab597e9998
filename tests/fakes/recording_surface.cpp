#include "fakes/recording_surface.h"

#include <cmath>
#include <cstdio>

#include "common/text.h"

namespace orbin::testing {
namespace {

// As a stream shows a float by default ("%g"), without building a stream;
// whole numbers below a million (most positions) without formatting one.
std::string Num(float v) {
  if (v == std::trunc(v) && std::fabs(v) < 1e6f && !(v == 0 && std::signbit(v)))
    return std::to_string(static_cast<long>(v));
  char text[32];
  std::snprintf(text, sizeof text, "%g", v);
  return text;
}
std::string At(float x, float y) { return Num(x) + "," + Num(y); }

}  // namespace

void RecordingSurface::Record(const std::string& op) { operations.push_back(op); }

void RecordingSurface::Drawn() {
  if (!page_has_drawing_) ++pages_with_drawing;
  page_has_drawing_ = true;
}

void RecordingSurface::SetOrientation(Orientation o) {
  Record("orientation " + std::to_string(static_cast<int>(o)));
}
void RecordingSurface::SetQuality(std::int16_t q) { Record("quality " + std::to_string(q)); }
void RecordingSurface::SetFontSize(float points) { Record("font " + Num(points)); }

void RecordingSurface::PrintText(std::string_view text) {
  Record("text " + At(x_, y_) + " " + std::string(text));
  Drawn();
  x_ += kCharWidth * static_cast<float>(CharCount(text));
}

void RecordingSurface::EndLine() {
  x_ = 0;
  y_ += kLineHeight;
}

void RecordingSurface::Line(std::optional<Point> start, float dx, float dy, LineMode mode) {
  Point from = start.value_or(Point{x_, y_});
  Point to{from.x + dx, from.y + dy};
  const char* kind = mode == LineMode::kLine ? "line " : mode == LineMode::kBox ? "box " : "fill ";
  Record(kind + At(from.x, from.y) + " " + At(to.x, to.y));
  Drawn();
  x_ = to.x;
  y_ = to.y;
}

void RecordingSurface::Circle(Point centre, float radius) {
  Record("circle " + At(centre.x, centre.y) + " " + Num(radius));
  Drawn();
  x_ = centre.x;
  y_ = centre.y;
}

void RecordingSurface::DrawPicture(const Picture& picture, Point top_left) {
  Record("picture " + std::to_string(picture.width) + "x" + std::to_string(picture.height) + " " +
         At(top_left.x, top_left.y));
  Drawn();
}

void RecordingSurface::NewPage() {
  Record("newpage");
  page_has_drawing_ = false;
  x_ = y_ = 0;
}

void RecordingSurface::EndDocument() { Record("enddoc"); }
void RecordingSurface::AbortDocument() { Record("abortdoc"); }

}  // namespace orbin::testing
