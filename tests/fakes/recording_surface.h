#pragma once
// A drawing surface that records every operation as a line of text, and
// keeps the current position as the printer would. Text advances x by a
// fixed width per character so that positions after text are predictable.
#include <string>
#include <vector>

#include "platform/drawing_surface.h"

namespace orbin::testing {

class RecordingSurface : public DrawingSurface {
 public:
  static constexpr float kCharWidth = 100;   // twips per character
  static constexpr float kLineHeight = 240;  // twips per line
  static constexpr float kPageHeight = 2400;  // ten lines a page

  void SetOrientation(Orientation orientation) override;
  void SetQuality(std::int16_t quality) override;
  void SetFontSize(float points) override;
  float CurrentX() const override { return x_; }
  float CurrentY() const override { return y_; }
  void SetCurrentX(float x) override { x_ = x; }
  void SetCurrentY(float y) override { y_ = y; }
  void PrintText(std::string_view text) override;
  void EndLine() override;
  float LineHeight() override { return kLineHeight; }
  float PageHeight() override { return kPageHeight; }
  void Line(std::optional<Point> start, float dx, float dy, LineMode mode) override;
  void Circle(Point centre, float radius) override;
  void DrawPicture(const Picture& picture, Point top_left) override;
  void NewPage() override;
  void EndDocument() override;
  void AbortDocument() override;

  // e.g. "orientation 2", "quality -3", "font 12", "text 1440,1440 Patient",
  // "line 0,0 100,100", "box ...", "fill ...", "circle 10,10 5",
  // "picture 96x48 0,0" (width x height in pixels), "newpage", "enddoc", "abortdoc".
  std::vector<std::string> operations;
  int pages_with_drawing = 0;  // pages that would be printed

 private:
  void Record(const std::string& op);
  void Drawn();
  float x_ = 0, y_ = 0;
  bool page_has_drawing_ = false;
};

}  // namespace orbin::testing
