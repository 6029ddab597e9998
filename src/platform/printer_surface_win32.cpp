#include "platform/printer_surface_win32.h"

#include <algorithm>
#include <cmath>

#include "common/failure.h"
#include "platform/files_win32.h"
#include "platform/system_libraries_win32.h"
#include "platform/wide_win32.h"

namespace orbin {
namespace {

constexpr float kTwipsPerInch = 1440;

// e.g. 印表機錯誤（開始列印文件）：<the system's reason>
[[noreturn]] void ThrowPrinterFailure(const std::string& operation,
                                      DWORD error = GetLastError()) {
  throw Failure("印表機錯誤（" + operation + "）：" + SystemErrorText(error));
}

// The system's error is taken before the printer's name is put into words.
[[noreturn]] void ThrowPrinterFailure(const char* before_name, const std::wstring& name,
                                      const char* after_name = "") {
  const DWORD error = GetLastError();
  ThrowPrinterFailure(before_name + ("「" + Narrow(name) + "」") + after_name, error);
}

std::wstring DefaultPrinterName() {
  const PrinterLibrary& spooler = Spooler();
  DWORD size = 0;
  spooler.GetDefaultPrinterW(nullptr, &size);
  if (size == 0) throw Failure("印表機錯誤：沒有安裝預設印表機");
  std::wstring name(size, L'\0');
  if (!spooler.GetDefaultPrinterW(name.data(), &size)) ThrowPrinterFailure("讀取預設印表機");
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
    }
  } else {
    g_printer->AbortDocument();
  }
}

PrinterSurface::~PrinterSurface() { AbortDocument(); }

void PrinterSurface::LoadDeviceMode() {
  if (!devmode_.empty()) return;
  printer_name_ = DefaultPrinterName();
  const PrinterLibrary& spooler = Spooler();
  HANDLE printer = nullptr;
  if (!spooler.OpenPrinterW(printer_name_.data(), &printer, nullptr))
    ThrowPrinterFailure("開啟印表機", printer_name_);
  LONG size =
      spooler.DocumentPropertiesW(nullptr, printer, printer_name_.data(), nullptr, nullptr, 0);
  if (size > 0) {
    devmode_.resize(size);
    auto* dm = reinterpret_cast<DEVMODEW*>(devmode_.data());
    if (spooler.DocumentPropertiesW(nullptr, printer, printer_name_.data(), dm, nullptr,
                                    DM_OUT_BUFFER) < 0)
      devmode_.clear();
  }
  spooler.ClosePrinter(printer);
  if (devmode_.empty()) ThrowPrinterFailure("讀取印表機", printer_name_, "的設定");
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
  font_points_ = points;
  font_dirty_ = true;
}

HDC PrinterSurface::PageDC() {
  if (!dc_ || (!page_started_ && devmode_changed_)) ApplyPageSettings();
  auto* dm = reinterpret_cast<DEVMODEW*>(devmode_.data());
  if (!dc_) {
    dc_ = CreateDCW(L"WINSPOOL", printer_name_.c_str(), nullptr, dm);
    if (!dc_) ThrowPrinterFailure("開啟印表機", printer_name_);
    DOCINFOW doc{};
    doc.cbSize = sizeof doc;
    doc.lpszDocName = L"orbin";
    if (StartDocW(dc_, &doc) <= 0) {
      DeleteDC(dc_);
      dc_ = nullptr;
      ThrowPrinterFailure("開始列印文件");
    }
    devmode_changed_ = false;
    font_dirty_ = true;
  }
  if (!page_started_) {
    // Orientation or quality changed while the document was open: they apply
    // from this page on.
    if (devmode_changed_) {
      ResetDCW(dc_, dm);
      devmode_changed_ = false;
    }
    if (StartPage(dc_) <= 0) ThrowPrinterFailure("開始新的一頁");
    page_started_ = true;
    font_dirty_ = true;
    SetBkMode(dc_, TRANSPARENT);
    SetTextColor(dc_, RGB(0, 0, 0));
    SetTextAlign(dc_, TA_TOP | TA_LEFT | TA_NOUPDATECP);
  }
  if (font_dirty_) SelectFont();
  return dc_;
}

void PrinterSurface::SelectFont() {
  // The printer's default face at the requested size; the Chinese character
  // set lets the font mapper pick a face with the glyphs where the default
  // face has none.
  if (old_font_) SelectObject(dc_, old_font_);
  if (font_) DeleteObject(font_);
  wchar_t face[LF_FACESIZE] = L"";
  GetTextFaceW(dc_, LF_FACESIZE, face);
  TEXTMETRICW metrics;
  GetTextMetricsW(dc_, &metrics);
  LOGFONTW lf{};
  lf.lfHeight = font_points_ > 0
                    ? -static_cast<LONG>(std::lround(font_points_ * GetDeviceCaps(dc_, LOGPIXELSY) / 72.0))
                    : metrics.tmHeight - metrics.tmInternalLeading;
  lf.lfWeight = FW_NORMAL;
  lf.lfCharSet = CHINESEBIG5_CHARSET;
  lf.lfQuality = DEFAULT_QUALITY;
  lstrcpynW(lf.lfFaceName, face, LF_FACESIZE);
  font_ = CreateFontIndirectW(&lf);
  old_font_ = static_cast<HFONT>(SelectObject(dc_, font_));
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

int PrinterSurface::ToDeviceX(float twips) const {
  return ToDevice(twips, GetDeviceCaps(dc_, LOGPIXELSX));
}
int PrinterSurface::ToDeviceY(float twips) const {
  return ToDevice(twips, GetDeviceCaps(dc_, LOGPIXELSY));
}

void PrinterSurface::PrintText(std::string_view text) {
  HDC dc = PageDC();
  std::wstring wide = Widen(text);
  if (!wide.empty() && !TextOutW(dc, ToDeviceX(x_), ToDeviceY(y_), wide.data(), static_cast<int>(wide.size())))
    ThrowPrinterFailure("列印文字");
  SIZE extent{};
  GetTextExtentPoint32W(dc, wide.data(), static_cast<int>(wide.size()), &extent);
  x_ += extent.cx * kTwipsPerInch / GetDeviceCaps(dc, LOGPIXELSX);
}

void PrinterSurface::EndLine() {
  float height = LineHeight();
  x_ = 0;
  y_ += height;
}

float PrinterSurface::LineHeight() {
  HDC dc = PageDC();
  TEXTMETRICW metrics;
  GetTextMetricsW(dc, &metrics);
  return (metrics.tmHeight + metrics.tmExternalLeading) * kTwipsPerInch / GetDeviceCaps(dc, LOGPIXELSY);
}

float PrinterSurface::PageHeight() {
  HDC dc = PageDC();
  return GetDeviceCaps(dc, VERTRES) * kTwipsPerInch / GetDeviceCaps(dc, LOGPIXELSY);
}

void PrinterSurface::Line(std::optional<Point> start, float dx, float dy, LineMode mode) {
  HDC dc = PageDC();
  Point from = start.value_or(Point{x_, y_});
  Point to{from.x + dx, from.y + dy};
  int x1 = ToDeviceX(from.x), y1 = ToDeviceY(from.y), x2 = ToDeviceX(to.x), y2 = ToDeviceY(to.y);
  HPEN pen = CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
  HGDIOBJ old_pen = SelectObject(dc, pen);
  if (mode == LineMode::kLine) {
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x2, y2);
    SetPixel(dc, x2, y2, RGB(0, 0, 0));  // the end point belongs to the line
  } else {
    RECT r{std::min(x1, x2), std::min(y1, y2), std::max(x1, x2) + 1, std::max(y1, y2) + 1};
    if (mode == LineMode::kFilledBox) {
      FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    } else {
      HGDIOBJ old_brush = SelectObject(dc, GetStockObject(NULL_BRUSH));
      Rectangle(dc, r.left, r.top, r.right, r.bottom);
      SelectObject(dc, old_brush);
    }
  }
  SelectObject(dc, old_pen);
  DeleteObject(pen);
  x_ = to.x;
  y_ = to.y;
}

void PrinterSurface::Circle(Point centre, float radius) {
  HDC dc = PageDC();
  int cx = ToDeviceX(centre.x), cy = ToDeviceY(centre.y);
  int rx = ToDeviceX(std::fabs(radius)), ry = ToDeviceY(std::fabs(radius));
  HPEN pen = CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
  HGDIOBJ old_pen = SelectObject(dc, pen);
  HGDIOBJ old_brush = SelectObject(dc, GetStockObject(NULL_BRUSH));
  Ellipse(dc, cx - rx, cy - ry, cx + rx + 1, cy + ry + 1);
  SelectObject(dc, old_brush);
  SelectObject(dc, old_pen);
  DeleteObject(pen);
  x_ = centre.x;
  y_ = centre.y;
}

void PrinterSurface::DrawPictureFile(const std::string& path, Point top_left) {
  HBITMAP bitmap = static_cast<HBITMAP>(
      LoadImageW(nullptr, Widen(path).c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
  if (!bitmap) throw Failure(FileFailureMessage("無法載入圖片", path, GetLastError()));
  DIBSECTION dib{};
  GetObjectW(bitmap, sizeof dib, &dib);
  // The picture's own size as the system's picture object reports it: its
  // pixels at the screen's pixels per inch.
  HDC screen = GetDC(nullptr);
  const double screen_x = GetDeviceCaps(screen, LOGPIXELSX), screen_y = GetDeviceCaps(screen, LOGPIXELSY);
  const int width = dib.dsBm.bmWidth, height = std::abs(dib.dsBm.bmHeight);
  const double width_twips = width * kTwipsPerInch / screen_x;
  const double height_twips = height * kTwipsPerInch / screen_y;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
  GetDIBits(screen, bitmap, 0, height, pixels.data(), &info, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  DeleteObject(bitmap);
  HDC dc = PageDC();
  int x = ToDeviceX(top_left.x), y = ToDeviceY(top_left.y);
  if (StretchDIBits(dc, x, y, ToDeviceX(static_cast<float>(width_twips)),
                    ToDeviceY(static_cast<float>(height_twips)), 0, 0, width, height, pixels.data(),
                    &info, DIB_RGB_COLORS, SRCCOPY) == 0)
    ThrowPrinterFailure("列印圖片");
}

void PrinterSurface::NewPage() {
  // The next page starts with its first drawing, so a page break that
  // nothing follows leaves no blank page.
  if (dc_ && page_started_) {
    if (EndPage(dc_) <= 0) ThrowPrinterFailure("結束這一頁");
    page_started_ = false;
  }
  x_ = y_ = 0;
}

void PrinterSurface::EndDocument() {
  if (!dc_) return;
  bool ok = true;
  if (page_started_) ok = EndPage(dc_) > 0;
  page_started_ = false;
  if (ok) ok = EndDoc(dc_) > 0;
  if (old_font_) SelectObject(dc_, old_font_);
  if (font_) DeleteObject(font_);
  font_ = old_font_ = nullptr;
  DeleteDC(dc_);
  dc_ = nullptr;
  if (!ok) ThrowPrinterFailure("結束列印文件");
}

void PrinterSurface::AbortDocument() {
  if (!dc_) return;
  AbortDoc(dc_);
  if (old_font_) SelectObject(dc_, old_font_);
  if (font_) DeleteObject(font_);
  font_ = old_font_ = nullptr;
  DeleteDC(dc_);
  dc_ = nullptr;
  page_started_ = false;
}

}  // namespace orbin
