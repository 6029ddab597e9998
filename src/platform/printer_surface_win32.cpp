#include "platform/printer_surface_win32.h"

#include <algorithm>
#include <cmath>

#include "common/failure.h"
#include "platform/files_win32.h"
#include "platform/form_win32.h"
#include "platform/system_libraries_win32.h"
#include "platform/wide_win32.h"

namespace orbin {
namespace {

constexpr float kTwipsPerInch = 1440;

[[noreturn]] void ThrowNoPrinterName(const char* operation) {
  throw Failure(std::string("印表機錯誤（") + operation + "）：" + SystemErrorText(GetLastError()));
}

std::wstring DefaultPrinterName() {
  const PrinterLibrary& spooler = Spooler();
  DWORD size = 0;
  spooler.GetDefaultPrinterW(nullptr, &size);
  if (size == 0) throw Failure("印表機錯誤：沒有安裝預設印表機");
  std::wstring name(size, L'\0');
  if (!spooler.GetDefaultPrinterW(name.data(), &size)) ThrowNoPrinterName("讀取預設印表機");
  name.resize(size > 0 ? size - 1 : 0);
  return name;
}

std::unique_ptr<PrinterSurface> g_printer;

}  // namespace

PrinterSurface& DefaultPrinter() {
  if (!g_printer) g_printer = std::make_unique<PrinterSurface>();
  return *g_printer;
}

void FinishPrinting(bool send) {
  if (!g_printer) return;
  if (send) {
    try {
      g_printer->EndDocument();
    } catch (const Failure&) {
      g_printer->AbortDocument();
      throw;
    }
  } else {
    g_printer->AbortDocument();
  }
}

PrinterSurface::~PrinterSurface() { AbortDocument(); }

void PrinterSurface::Fail(const char* operation, DWORD error) const {
  throw Failure("印表機「" + Narrow(printer_name_) + "」錯誤（" + operation + "）：" +
                SystemErrorText(error));
}

void PrinterSurface::LoadDeviceMode() {
  if (!devmode_.empty()) return;
  printer_name_ = DefaultPrinterName();
  const PrinterLibrary& spooler = Spooler();
  HANDLE printer = nullptr;
  if (!spooler.OpenPrinterW(printer_name_.data(), &printer, nullptr)) Fail("開啟印表機");
  LONG size =
      spooler.DocumentPropertiesW(nullptr, printer, printer_name_.data(), nullptr, nullptr, 0);
  if (size > 0) {
    devmode_.resize(size);
    auto* dm = reinterpret_cast<DEVMODEW*>(devmode_.data());
    if (spooler.DocumentPropertiesW(nullptr, printer, printer_name_.data(), dm, nullptr,
                                    DM_OUT_BUFFER) < 0)
      devmode_.clear();
  }
  const DWORD error = GetLastError();
  spooler.ClosePrinter(printer);
  if (devmode_.empty()) Fail("讀取印表機的設定", error);
}

void PrinterSurface::SetOrientation(Orientation orientation) {
  orientation_ = orientation;
  devmode_changed_ = true;
}

void PrinterSurface::SetQuality(std::int16_t quality) {
  quality_ = quality;
  devmode_changed_ = true;
}

void PrinterSurface::ApplyPageSettings() {
  LoadDeviceMode();
  auto* dm = reinterpret_cast<DEVMODEW*>(devmode_.data());
  if (orientation_) {
    dm->dmFields |= DM_ORIENTATION;
    dm->dmOrientation = *orientation_ == Orientation::kLandscape ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
  }
  if (quality_) {
    dm->dmFields |= DM_PRINTQUALITY;
    dm->dmPrintQuality = *quality_;
    if (*quality_ > 0) {
      dm->dmFields |= DM_YRESOLUTION;
      dm->dmYResolution = *quality_;
    }
  }
}

void PrinterSurface::SetFontSize(float points) {
  if (!(points > 0 && points < 2048))
    throw Failure("印表機錯誤：字型大小 " + std::to_string(points) + " 點無法使用");
  if (points == font_points_) return;
  SettleX();  // the text printed last is measured in its own font
  font_points_ = points;
  font_dirty_ = true;
}

void PrinterSurface::OpenDocument(const DEVMODEW* mode) {
  dc_ = CreateDCW(L"WINSPOOL", printer_name_.c_str(), nullptr, mode);
  if (!dc_) Fail("開啟印表機");
  DOCINFOW doc{};
  doc.cbSize = sizeof doc;
  doc.lpszDocName = L"orbin";
  if (StartDocW(dc_, &doc) <= 0) {
    const DWORD error = GetLastError();
    DeleteDC(dc_);
    dc_ = nullptr;
    Fail("開始列印文件", error);
  }
  ReadDeviceCaps();
  // The printer's own face and size, which scripts keep.
  wchar_t face[LF_FACESIZE] = L"";
  GetTextFaceW(dc_, LF_FACESIZE, face);
  default_face_ = face;
  TEXTMETRICW metrics{};
  if (!GetTextMetricsW(dc_, &metrics)) Fail("讀取字型");
  default_height_ = metrics.tmHeight - metrics.tmInternalLeading;
  pen_ = CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
  if (!pen_) Fail("建立畫筆");
  devmode_changed_ = false;
}

void PrinterSurface::ReadDeviceCaps() {
  dots_per_inch_x_ = GetDeviceCaps(dc_, LOGPIXELSX);
  dots_per_inch_y_ = GetDeviceCaps(dc_, LOGPIXELSY);
  page_height_ = GetDeviceCaps(dc_, VERTRES) * kTwipsPerInch / dots_per_inch_y_;
}

HDC PrinterSurface::PageDC() {
  if (!dc_ || (!page_started_ && devmode_changed_)) ApplyPageSettings();
  auto* dm = reinterpret_cast<DEVMODEW*>(devmode_.data());
  if (!dc_) OpenDocument(dm);
  if (!page_started_) {
    // Orientation or quality changed while the document was open: they apply
    // from this page on.
    if (devmode_changed_) {
      if (!ResetDCW(dc_, dm)) Fail("變更頁面設定");
      ReadDeviceCaps();
      devmode_changed_ = false;
    }
    StartPageWithState();
  }
  if (font_dirty_) SelectFont();
  return dc_;
}

// A page starts with the system's drawing state, on some systems even the
// selected objects: everything is set again.
void PrinterSurface::StartPageWithState() {
  if (StartPage(dc_) <= 0) Fail("開始新的一頁");
  page_started_ = true;
  if (!SetBkMode(dc_, TRANSPARENT) || SetTextColor(dc_, RGB(0, 0, 0)) == CLR_INVALID ||
      SetTextAlign(dc_, TA_TOP | TA_LEFT | TA_NOUPDATECP) == GDI_ERROR)
    Fail("設定文字");
  HGDIOBJ previous = SelectObject(dc_, pen_);
  if (!previous) Fail("選用畫筆");
  if (!original_pen_) original_pen_ = previous;
  font_dirty_ = true;
}

PrinterSurface::FontEntry& PrinterSurface::FontFor(float points) {
  auto found = fonts_.find(points);
  if (found != fonts_.end()) return found->second;
  // The printer's default face at the requested size; the Chinese character
  // set lets the font mapper pick a face with the glyphs where the default
  // face has none.
  LOGFONTW lf{};
  lf.lfHeight = points > 0 ? -static_cast<LONG>(std::lround(points * dots_per_inch_y_ / 72.0))
                           : default_height_;
  lf.lfWeight = FW_NORMAL;
  lf.lfCharSet = CHINESEBIG5_CHARSET;
  lf.lfQuality = DEFAULT_QUALITY;
  lstrcpynW(lf.lfFaceName, default_face_.c_str(), LF_FACESIZE);
  FontEntry entry;
  entry.font = CreateFontIndirectW(&lf);
  if (!entry.font) Fail("建立字型");
  return fonts_.emplace(points, entry).first->second;
}

void PrinterSurface::SelectFont() {
  FontEntry& entry = FontFor(font_points_);
  HGDIOBJ previous = SelectObject(dc_, entry.font);
  if (!previous) Fail("選用字型");
  if (!original_font_) original_font_ = previous;
  if (entry.line_height == 0) {
    TEXTMETRICW metrics;
    if (!GetTextMetricsW(dc_, &metrics)) Fail("讀取字型");
    entry.line_height = (metrics.tmHeight + metrics.tmExternalLeading) * kTwipsPerInch / dots_per_inch_y_;
  }
  font_ = &entry;
  font_dirty_ = false;
}

namespace {

// GDI keeps device coordinates within 27 bits; beyond that a position is
// the script's mistake, not something to wrap around.
int ToDevice(float twips, int dots_per_inch) {
  constexpr double kLimit = 1 << 27;
  double device = std::round(static_cast<double>(twips) * dots_per_inch / kTwipsPerInch);
  if (!(std::fabs(device) <= kLimit))
    throw Failure("印表機錯誤：位置 " + std::to_string(twips) + " twips 超出頁面座標的範圍");
  return static_cast<int>(device);
}

}  // namespace

int PrinterSurface::ToDeviceX(float twips) const { return ToDevice(twips, dots_per_inch_x_); }
int PrinterSurface::ToDeviceY(float twips) const { return ToDevice(twips, dots_per_inch_y_); }

void PrinterSurface::SettleX() const {
  if (unmeasured_.empty()) return;
  SIZE extent{};
  if (!GetTextExtentPoint32W(dc_, unmeasured_.data(), static_cast<int>(unmeasured_.size()), &extent))
    Fail("量文字的寬度");
  x_ += extent.cx * kTwipsPerInch / dots_per_inch_x_;
  unmeasured_.clear();
}

float PrinterSurface::CurrentX() const {
  SettleX();
  return x_;
}

void PrinterSurface::SetCurrentX(float x) {
  unmeasured_.clear();
  x_ = x;
}

void PrinterSurface::PrintText(std::string_view text) {
  HDC dc = PageDC();
  SettleX();
  std::wstring wide = Widen(text);
  if (wide.empty()) return;
  if (!TextOutW(dc, ToDeviceX(x_), ToDeviceY(y_), wide.data(), static_cast<int>(wide.size())))
    Fail("列印文字");
  unmeasured_ = std::move(wide);
}

void PrinterSurface::EndLine() {
  float height = LineHeight();
  unmeasured_.clear();
  x_ = 0;
  y_ += height;
}

float PrinterSurface::LineHeight() {
  PageDC();
  return font_->line_height;
}

float PrinterSurface::PageHeight() {
  PageDC();
  return page_height_;
}

void PrinterSurface::Line(std::optional<Point> start, float dx, float dy, LineMode mode) {
  HDC dc = PageDC();
  SettleX();
  Point from = start.value_or(Point{x_, y_});
  Point to{from.x + dx, from.y + dy};
  int x1 = ToDeviceX(from.x), y1 = ToDeviceY(from.y), x2 = ToDeviceX(to.x), y2 = ToDeviceY(to.y);
  bool drawn;
  if (mode == LineMode::kLine) {
    // The end point belongs to the line: one device dot more.
    drawn = MoveToEx(dc, x1, y1, nullptr) && LineTo(dc, x2, y2) && PatBlt(dc, x2, y2, 1, 1, BLACKNESS);
  } else {
    RECT r{std::min(x1, x2), std::min(y1, y2), std::max(x1, x2) + 1, std::max(y1, y2) + 1};
    if (mode == LineMode::kFilledBox) {
      drawn = FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    } else {
      HGDIOBJ old_brush = SelectObject(dc, GetStockObject(NULL_BRUSH));
      drawn = old_brush && Rectangle(dc, r.left, r.top, r.right, r.bottom);
      if (old_brush) SelectObject(dc, old_brush);
    }
  }
  if (!drawn) Fail(mode == LineMode::kLine ? "畫線" : "畫方框");
  x_ = to.x;
  y_ = to.y;
}

void PrinterSurface::Circle(Point centre, float radius) {
  HDC dc = PageDC();
  int cx = ToDeviceX(centre.x), cy = ToDeviceY(centre.y);
  int rx = ToDeviceX(std::fabs(radius)), ry = ToDeviceY(std::fabs(radius));
  HGDIOBJ old_brush = SelectObject(dc, GetStockObject(NULL_BRUSH));
  const bool drawn = old_brush && Ellipse(dc, cx - rx, cy - ry, cx + rx + 1, cy + ry + 1);
  if (old_brush) SelectObject(dc, old_brush);
  if (!drawn) Fail("畫圓");
  unmeasured_.clear();
  x_ = centre.x;
  y_ = centre.y;
}

void PrinterSurface::DrawPicture(const Picture& picture, Point top_left) {
  HDC dc = PageDC();
  // The picture's own size as the system's picture object reports it: its
  // pixels at the screen's pixels per inch.
  const double width_twips = picture.width * TwipsPerPixelX();
  const double height_twips = picture.height * TwipsPerPixelY();
  const auto* info = reinterpret_cast<const BITMAPINFO*>(picture.info.data());
  const int x = ToDeviceX(top_left.x), y = ToDeviceY(top_left.y);
  const int copied = StretchDIBits(dc, x, y, ToDeviceX(static_cast<float>(width_twips)),
                                   ToDeviceY(static_cast<float>(height_twips)), 0, 0, picture.width,
                                   picture.height, picture.pixels.data(), info, DIB_RGB_COLORS, SRCCOPY);
  if (copied == 0 || copied == static_cast<int>(GDI_ERROR)) Fail("列印圖片");
}

void PrinterSurface::NewPage() {
  // The next page starts with its first drawing, so a page break that
  // nothing follows leaves no blank page.
  if (dc_ && page_started_) {
    if (EndPage(dc_) <= 0) Fail("結束這一頁");
    page_started_ = false;
  }
  unmeasured_.clear();
  x_ = y_ = 0;
}

void PrinterSurface::ReleaseDocument() {
  if (original_font_) SelectObject(dc_, original_font_);
  if (original_pen_) SelectObject(dc_, original_pen_);
  original_font_ = original_pen_ = nullptr;
  for (auto& [points, entry] : fonts_) DeleteObject(entry.font);
  fonts_.clear();
  font_ = nullptr;
  if (pen_) DeleteObject(pen_);
  pen_ = nullptr;
  DeleteDC(dc_);
  dc_ = nullptr;
  page_started_ = false;
  font_dirty_ = true;
  unmeasured_.clear();
}

void PrinterSurface::EndDocument() {
  if (!dc_) return;
  const char* failed = nullptr;
  if (page_started_ && EndPage(dc_) <= 0) failed = "結束這一頁";
  if (!failed && EndDoc(dc_) <= 0) failed = "結束列印文件";
  const DWORD error = GetLastError();
  if (failed) AbortDoc(dc_);
  ReleaseDocument();
  if (failed) Fail(failed, error);
}

void PrinterSurface::AbortDocument() {
  if (!dc_) return;
  AbortDoc(dc_);
  ReleaseDocument();
}

}  // namespace orbin
