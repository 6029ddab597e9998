#pragma once
// The default printer as a GDI drawing surface.
#include <windows.h>

#include <map>
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
  float CurrentX() const override;
  float CurrentY() const override { return y_; }
  void SetCurrentX(float x) override;
  void SetCurrentY(float y) override { y_ = y; }
  void PrintText(std::string_view text) override;
  void EndLine() override;
  float LineHeight() override;
  float PageHeight() override;
  void Line(std::optional<Point> start, float dx, float dy, LineMode mode) override;
  void Circle(Point centre, float radius) override;
  void DrawPicture(const Picture& picture, Point top_left) override;
  void NewPage() override;
  void EndDocument() override;
  void AbortDocument() override;

  bool DocumentOpen() const { return dc_ != nullptr; }

 private:
  struct FontEntry {
    HFONT font = nullptr;
    float line_height = 0;  // twips; read when the font is first selected
  };

  // Opens the document and the page, applying orientation and quality.
  HDC PageDC();
  void LoadDeviceMode();
  void OpenDocument(const DEVMODEW* mode);
  void StartPageWithState();
  void SelectFont();
  // The font of `points` (0: the printer's default size), made once per
  // document.
  FontEntry& FontFor(float points);
  void ReadDeviceCaps();
  void ReleaseDocument();
  int ToDeviceX(float twips) const;
  int ToDeviceY(float twips) const;
  // Adds the width of the text printed last to x, measured only when x is
  // next needed: most texts are followed by a new position, and measuring
  // is a good part of a text's cost.
  void SettleX() const;
  // e.g. 印表機「PDF」錯誤（結束列印文件）：<the system's reason>
  [[noreturn]] void Fail(const char* operation, DWORD error) const;
  [[noreturn]] void Fail(const char* operation) const { Fail(operation, GetLastError()); }

  // Orientation and quality are only recorded until a document opens, so a
  // run that prints nothing never loads the printer driver.
  void ApplyPageSettings();

  std::wstring printer_name_;
  std::vector<char> devmode_;  // DEVMODEW of the default printer
  std::optional<Orientation> orientation_;
  std::optional<std::int16_t> quality_;
  bool devmode_changed_ = false;
  HDC dc_ = nullptr;
  int dots_per_inch_x_ = 0, dots_per_inch_y_ = 0;
  bool page_started_ = false;
  std::wstring default_face_;  // the printer's own font
  LONG default_height_ = 0;
  std::map<float, FontEntry> fonts_;
  FontEntry* font_ = nullptr;  // the selected one
  float page_height_ = 0;      // twips, of the device context
  HGDIOBJ original_font_ = nullptr;
  HPEN pen_ = nullptr;
  HGDIOBJ original_pen_ = nullptr;
  float font_points_ = 0;  // 0 until set: the printer's default size
  bool font_dirty_ = true;
  mutable float x_ = 0;
  float y_ = 0;
  mutable std::wstring unmeasured_;  // printed, its width not yet added to x
};

// The program's one printer output, created on first use.
PrinterSurface& DefaultPrinter();
// At the end of the run: a document still open is sent (normal end; a
// failure to send it is thrown on, the document discarded) or discarded
// (after a failure).
void FinishPrinting(bool send);

}  // namespace orbin
