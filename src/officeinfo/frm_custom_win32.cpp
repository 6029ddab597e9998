#include "officeinfo/frm_custom_win32.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "common/program_end.h"
#include "officeinfo/chinese_font_win32.h"
#include "officeinfo/countdown.h"
#include "officeinfo/maker_contact.h"
#include "officeinfo/region_win32.h"
#include "platform/files_win32.h"
#include "platform/run_guard_win32.h"
#include "platform/settings_win32.h"
#include "platform/system_libraries_win32.h"
#include "platform/wide_win32.h"
#include "resource_ids.h"
#include "startup/job_registry_win32.h"
#include "startup/jobs_win32.h"

namespace orbin {
namespace {

constexpr double kTwipsPerPoint = 20;
constexpr double kLabel3Height = 555;
constexpr COLORREF kRimColour = 0x00404040;
constexpr int kRimPixels = 3;

// The design values of the window's controls, in twips. The auto-sized
// labels get their size from their captions at load.
std::vector<ControlDesign> DesignControls() {
  static const std::wstring web_address = Widen(kMakerWebAddress);
  static const std::wstring server_address = Widen(kServerAddress);
  const wchar_t* kai = ChineseFace(ChineseFontStyle::kKai).c_str();
  const wchar_t* ming = ChineseFace(ChineseFontStyle::kMing).c_str();
  const FontDesign name_font{kai, 20.25, true, false};
  const FontDesign link_font{ming, 12, false, true};
  return {
      {FrmCustom::kLabel3, ControlKind::kCentredLabel, L"", {0, 1080, 0, kLabel3Height}, 0,
       name_font, kBlack, kDefaultColour, true},
      {FrmCustom::kImage1, ControlKind::kPicture, L"", {4560, 2400, 1560, 1080}, 0, {},
       kDefaultColour, kDefaultColour, true},
      {FrmCustom::kLabel2First + 0, ControlKind::kLabel, web_address.c_str(), {1440, 4680, 0, 0},
       0, link_font, kBlue, kDefaultColour, true},
      {FrmCustom::kLabel2First + 1, ControlKind::kLabel, server_address.c_str(),
       {3720, 4680, 0, 0}, 0, link_font, kBlue, kDefaultColour, true},
      {FrmCustom::kLabel1, ControlKind::kLabel, L"關閉", {4680, 3960, 0, 0}, 0, link_font, kRed,
       kDefaultColour, true},
  };
}

const FormDesign kFormDesign{L"frmCustom", L"orbin", WS_POPUP, WS_EX_TOOLWINDOW,
                             kOuterShapeWidth + 2 * kShapeMargin,
                             kOuterShapeWidth + 2 * kShapeMargin, IDI_ORBIN};

std::string LocaleText(LCTYPE item, const char* fallback) {
  wchar_t buffer[16];
  int n = GetLocaleInfoW(LOCALE_USER_DEFAULT, item, buffer, 16);
  return n > 1 ? Narrow(std::wstring_view(buffer, n - 1)) : fallback;
}

RECT ChildRectInParent(HWND child, HWND parent) {
  RECT r;
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

bool IsMouseDown(UINT message) {
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
      return true;
  }
  return false;
}

}  // namespace

FrmCustom::~FrmCustom() {
  if (surface_) {
    SelectObject(surface_, surface_old_bitmap_);
    DeleteDC(surface_);
  }
  if (surface_bitmap_) DeleteObject(surface_bitmap_);
  if (surface_font_) DeleteObject(surface_font_);
  if (icon_) DestroyIcon(icon_);
}

void FrmCustom::Load() {
  Create(kFormDesign, DesignControls());
  SubclassControl(Control(kLabel3), &FrmCustom::MouseDownProc);
  SubclassControl(Control(kImage1), &FrmCustom::MouseDownProc);
  icon_ = static_cast<HICON>(
      LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_ORBIN), IMAGE_ICON, 32, 32, 0));
  for (int id : {kLabel2First, kLabel2First + 1, kLabel1}) AutoSizeLabel(id);
  Form_Load();
}

void FrmCustom::Show() {
  ShowWindow(hwnd(), SW_SHOW);
  UpdateWindow(hwnd());
}

void FrmCustom::Form_Load() {
  CloseCount = CloseCountFromArguments(Program().argument_text);

  layout_ = LayOutOfficeWindow();
  const int width = PixelsX(layout_.window_width), height = PixelsY(layout_.window_height);
  SetWindowPos(hwnd(), nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  SetWindowPos(Control(kLabel3), nullptr, 0, 0, PixelsX(layout_.label3_width),
               PixelsY(kLabel3Height), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

  // The surface the texts are drawn on, in the window's background colour.
  HDC screen = GetDC(hwnd());
  surface_ = CreateCompatibleDC(screen);
  surface_bitmap_ = CreateCompatibleBitmap(screen, width, height);
  ReleaseDC(hwnd(), screen);
  surface_old_bitmap_ = SelectObject(surface_, surface_bitmap_);
  RECT all{0, 0, width, height};
  FillRect(surface_, &all, GetSysColorBrush(COLOR_BTNFACE));
  SetBkMode(surface_, TRANSPARENT);
  SetTextAlign(surface_, TA_LEFT | TA_TOP | TA_NOUPDATECP);

  Command2_Click();

  const WindowPosition centred =
      CentreOnScreen(TwipsX(GetSystemMetrics(SM_CXSCREEN)), TwipsY(GetSystemMetrics(SM_CYSCREEN)),
                     layout_);
  MoveTwips(centred.left, centred.top);
  MakeTopmost();
  // `ShapeB1` and `shpCutter` were placed by the layout.
  MakeFrmRegion();
  SetTimer(hwnd(), kTimer1, 1000, nullptr);
}

void FrmCustom::Command2_Click() {
  Win32SettingsFile settings;
  Win32FileSystem files;
  const DateTimeSeparators separators{LocaleText(LOCALE_SDATE, "/"), LocaleText(LOCALE_STIME, ":")};
  const OfficeInfo info = DescribeOfficeInfo(Program().argument_text, settings, files, separators);
  SetControlText(kLabel3, info.label3_caption);
  for (const InfoText& text : info.texts) {
    SetFontSize(text.font_size);
    if (text.raised)
      RaisFrmText(text.text, text.x, text.y, text.colour);
    else
      WrtText(text.text, text.x, text.y, text.colour);
  }
}

void FrmCustom::SetFontSize(double points) {
  LOGFONTW font{};
  font.lfHeight = -static_cast<LONG>(std::lround(points * kTwipsPerPoint / TwipsPerPixelY()));
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = CHINESEBIG5_CHARSET;
  font.lfQuality = DEFAULT_QUALITY;
  lstrcpynW(font.lfFaceName, ChineseFace(ChineseFontStyle::kMing).c_str(), LF_FACESIZE);
  HFONT next = CreateFontIndirectW(&font);
  SelectObject(surface_, next);
  if (surface_font_) DeleteObject(surface_font_);
  surface_font_ = next;
}

void FrmCustom::WrtText(const std::string& text, std::int16_t x, std::int16_t y, Colour colour) {
  const COLORREF saved = SetTextColor(surface_, colour);
  const std::wstring wide = Widen(text);
  TextOutW(surface_, PixelsX(x), PixelsY(y), wide.c_str(), static_cast<int>(wide.size()));
  SetTextColor(surface_, saved);
}

void FrmCustom::RaisFrmText(const std::string& text, std::int16_t x, std::int16_t y,
                            Colour colour) {
  InfoText raised{text, x, y, colour, 0, true};
  for (const InfoText& layer : TextLayers(raised)) WrtText(layer.text, layer.x, layer.y, layer.colour);
}

void FrmCustom::MakeFrmRegion() {
  Win32RegionPlatform platform(hwnd());
  orbin::MakeFrmRegion(OfficeWindowRegion(layout_, TwipsPerPixelX(), TwipsPerPixelY()), platform);
}

void FrmCustom::Timer1_Timer() {
  const CountdownStep step = CountdownTick(CloseCount);
  SetControlText(kLabel1, step.caption);
  AutoSizeLabel(kLabel1);
  if (step.unload) Unload();
}

void FrmCustom::Label1_Click() { Unload(); }

void FrmCustom::Label2_Click(int index) {
  const std::wstring address = Widen(ControlText(kLabel2First + index));
  // Whether a browser opened is not looked at.
  Shell().ShellExecuteW(hwnd(), L"open", address.c_str(), L"", L"", SW_SHOW);
}

void FrmCustom::Form_MouseDown() { StartMove(); }
void FrmCustom::Image1_MouseDown() { StartMove(); }
void FrmCustom::Label3_MouseDown() { StartMove(); }

void FrmCustom::StartMove() {
  ReleaseCapture();
  // As a press on a caption bar: the system moves the window with the mouse.
  // The position is the press's own, in screen coordinates, as the message
  // expects.
  SendMessageW(hwnd(), WM_NCLBUTTONDOWN, HTCAPTION, static_cast<LPARAM>(GetMessagePos()));
}

void FrmCustom::Unload() {
  // `Form_Unload` keeps nothing from unloading; this is the program's only
  // window, so the run ends with it and the window goes with the process.
  // (Hiding it first only delays the end: the system looks for another
  // window to activate.)
  KillTimer(hwnd(), kTimer1);
  throw EndProgram{0};
}

void FrmCustom::AutoSizeLabel(int id) {
  HWND label = Control(id);
  const RECT before = ChildRectInParent(label, hwnd());
  const std::wstring text = Widen(ControlText(id));
  HDC dc = GetDC(label);
  HGDIOBJ old_font = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)));
  SIZE size{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  LONG height = metrics.tmHeight;
  // Some Chinese faces put the underline below the character cell; the
  // label must still show it.
  OUTLINETEXTMETRICW outline{};
  outline.otmSize = sizeof outline;
  if (GetOutlineTextMetricsW(dc, sizeof outline, &outline))
    height = std::max<LONG>(height, metrics.tmAscent - outline.otmsUnderscorePosition +
                                        static_cast<LONG>(outline.otmsUnderscoreSize));
  SelectObject(dc, old_font);
  ReleaseDC(label, dc);
  // One pixel spare so the label's own word wrapping never breaks the line.
  SetWindowPos(label, nullptr, 0, 0, size.cx + 1, height,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  const RECT after = ChildRectInParent(label, hwnd());
  RECT both;
  UnionRect(&both, &before, &after);
  // The label is transparent: what it covered comes back from the surface
  // before it draws its new caption.
  RedrawWindow(hwnd(), &both, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void FrmCustom::PaintSurface(HDC dc, const RECT& area) {
  if (surface_)
    BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, surface_,
           area.left, area.top, SRCCOPY);
  // `ShapeB1` element 0: the outline along the rim, inside the window.
  const Shape& rim = layout_.rim;
  HPEN pen = CreatePen(PS_INSIDEFRAME, kRimPixels, kRimColour);
  HGDIOBJ old_pen = SelectObject(dc, pen);
  HGDIOBJ old_brush = SelectObject(dc, GetStockObject(NULL_BRUSH));
  Ellipse(dc, PixelsX(rim.left), PixelsY(rim.top), PixelsX(rim.left + rim.width),
          PixelsY(rim.top + rim.height));
  SelectObject(dc, old_brush);
  SelectObject(dc, old_pen);
  DeleteObject(pen);
}

void FrmCustom::DrawImage1(const DRAWITEMSTRUCT& item) {
  // What lies below the picture first, so the icon's transparent parts
  // show the surface however often the picture alone repaints.
  const RECT place = ChildRectInParent(item.hwndItem, hwnd());
  const RECT& r = item.rcItem;
  if (surface_)
    BitBlt(item.hDC, r.left, r.top, r.right - r.left, r.bottom - r.top, surface_, place.left,
           place.top, SRCCOPY);
  DrawIconEx(item.hDC, r.left, r.top, icon_, r.right - r.left, r.bottom - r.top, 0, nullptr,
             DI_NORMAL);
}

LRESULT FrmCustom::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  if (IsMouseDown(message)) {
    Form_MouseDown();
    return 0;
  }
  switch (message) {
    case WM_ERASEBKGND:
      return 1;  // WM_PAINT covers everything from the surface
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(hwnd(), &paint);
      PaintSurface(dc, paint.rcPaint);
      EndPaint(hwnd(), &paint);
      return 0;
    }
  }
  return Form::HandleMessage(message, wparam, lparam);
}

void FrmCustom::OnCommand(int id, int code, HWND control) {
  if (code != STN_CLICKED) return;
  if (id == kLabel1) Label1_Click();
  if (id == kLabel2First || id == kLabel2First + 1) Label2_Click(id - kLabel2First);
}

void FrmCustom::OnTimer(UINT_PTR id) {
  if (id == kTimer1) Timer1_Timer();
}

// `Label3` and `Image1` start a move on any button; `Image1` draws the
// program's icon stretched over itself.
LRESULT CALLBACK FrmCustom::MouseDownProc(HWND control, UINT message, WPARAM wparam,
                                          LPARAM lparam) {
  auto* form = static_cast<FrmCustom*>(
      reinterpret_cast<Form*>(GetWindowLongPtrW(GetParent(control), GWLP_USERDATA)));
  const int id = GetDlgCtrlID(control);
  if (form) {
    if (IsMouseDown(message)) {
      RunHandler([&] { id == kImage1 ? form->Image1_MouseDown() : form->Label3_MouseDown(); });
      return 0;
    }
    if (id == kImage1 && message == WM_ERASEBKGND) return 1;
    if (id == kImage1 && message == WM_PAINT) {
      PAINTSTRUCT paint;
      DRAWITEMSTRUCT item{};
      item.hwndItem = control;
      item.hDC = BeginPaint(control, &paint);
      GetClientRect(control, &item.rcItem);
      RunHandler([&] { form->DrawImage1(item); });
      EndPaint(control, &paint);
      return 0;
    }
  }
  return CallWindowProcW(PreviousWindowProc(control), control, message, wparam, lparam);
}

bool RunOfficeInfo() {
  // Lives until the program ends with its unloading.
  auto* window = new FrmCustom;
  window->Load();
  window->Show();
  return true;
}

namespace {
const JobRegistration kRegistration{Job::kOfficeInfo, &RunOfficeInfo};
}  // namespace

}  // namespace orbin
