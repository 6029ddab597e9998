#pragma once
// The default printer as a GDI drawing surface.
#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/drawing_surface.h"

namespace orbin {

class PrinterSurface : public DrawingSurface {
 public:
  PrinterSurface() = default;
  ~PrinterSurface() override;
  PrinterSurface(const PrinterSurface&) = delete;
  PrinterSurface& operator=(const PrinterSurface&) = delete;

  void SetOrientation(Orientation orientation) override;
  void SetQuality(std::int16_t quality) override;
  void SetFontSize(float points) override;
  float CurrentX() const override { return x_; }
  float CurrentY() const override { return y_; }
  void SetCurrentX(float x) override { x_ = x; }
  void SetCurrentY(float y) override { y_ = y; }
  void PrintText(std::string_view text) override;
  void EndLine() override;
  float LineHeight() override;
  float PageHeight() override;
  void Line(std::optional<Point> start, float dx, float dy, LineMode mode) override;
  void Circle(Point centre, float radius) override;
  void DrawPictureFile(const std::string& path, Point top_left) override;
  void NewPage() override;
  void EndDocument() override;
  void AbortDocument() override;

  bool DocumentOpen() const { return dc_ != nullptr; }

 private:
  // Opens the document and the page, applying orientation and quality.
  HDC PageDC();
  void LoadDeviceMode();
  void SelectFont();
  int ToDeviceX(float twips) const;
  int ToDeviceY(float twips) const;

  // Orientation and quality are only recorded until a document opens, so a
  // run that prints nothing never loads the printer driver.
  void ApplyPageSettings();

  std::wstring printer_name_;
  std::vector<char> devmode_;  // DEVMODEW of the default printer
  std::optional<Orientation> orientation_;
  std::optional<std::int16_t> quality_;
  bool devmode_changed_ = false;
  HDC dc_ = nullptr;
  bool page_started_ = false;
  HFONT font_ = nullptr;
  HFONT old_font_ = nullptr;
  float font_points_ = 0;  // 0 until set: the printer's default size
  bool font_dirty_ = true;
  float x_ = 0, y_ = 0;
};

// The program's one printer output, created on first use.
PrinterSurface& DefaultPrinter();
// At the end of the run: a document still open is sent (normal end) or
// discarded (after a failure).
void FinishPrinting(bool send);

}  // namespace orbin
