// Reports how a window of the program is laid out on the screen, as JSON
// (UTF-8) in the file named last:
//   layout_probe window CLASS FONTS OUT
// The top-level window of class CLASS: the screen's pixels per inch, the
// window's rectangle and its client area on the screen, its window region
// (bounding box, whether the client area's centre lies in it) and each
// child control: id, class, text, rectangle in client coordinates, whether
// it is visible and lies wholly inside the window region, and the size its
// text needs on one line (SIZE of GetTextExtentPoint32 and the line height).
// A control's font cannot be read from another process, so FONTS names
// them: "-" or ID:FACE:POINTS:BOLD[:CHARSET][,...] (underscores for blanks
// in FACE; FACE "_" keeps the system's message font face; POINTS 0 its
// size; CHARSET A for ANSI, B for Big5, otherwise the default set), built
// as the program builds its control fonts; a control not named uses the
// system's message font. Nothing is sent to the window, so a program
// blocked in a long call is measured all the same.
#include <windows.h>

#include <cmath>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "platform/wide_win32.h"

namespace {

struct FontDesign {
  std::wstring face;  // empty: the message font's
  double points = 0;
  bool bold = false;
  BYTE charset = DEFAULT_CHARSET;
};

std::map<int, FontDesign> ParseFonts(const std::wstring& text) {
  std::map<int, FontDesign> fonts;
  if (text == L"-") return fonts;
  std::wstringstream list(text);
  std::wstring item;
  while (std::getline(list, item, L',')) {
    std::wstringstream fields(item);
    std::wstring id, face, points, bold, charset;
    std::getline(fields, id, L':');
    std::getline(fields, face, L':');
    std::getline(fields, points, L':');
    std::getline(fields, bold, L':');
    std::getline(fields, charset, L':');
    for (wchar_t& c : face)
      if (c == L'_') c = L' ';
    const BYTE set = charset == L"A"   ? ANSI_CHARSET
                     : charset == L"B" ? CHINESEBIG5_CHARSET
                                       : DEFAULT_CHARSET;
    fonts[_wtoi(id.c_str())] = {face == L" " ? L"" : face, _wtof(points.c_str()), bold == L"1", set};
  }
  return fonts;
}

int ScreenDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi;
}

HFONT CreateControlFont(const FontDesign& design) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  LOGFONTW lf = metrics.lfMessageFont;
  if (!design.face.empty()) lstrcpynW(lf.lfFaceName, design.face.c_str(), LF_FACESIZE);
  if (design.points > 0)
    lf.lfHeight = -static_cast<LONG>(std::lround(design.points * ScreenDpi() / 72.0));
  lf.lfWeight = design.bold ? FW_BOLD : FW_NORMAL;
  lf.lfCharSet = design.charset;
  return CreateFontIndirectW(&lf);
}

std::string TextSize(const std::wstring& text, const FontDesign& design) {
  HDC dc = GetDC(nullptr);
  HFONT font = CreateControlFont(design);
  HGDIOBJ old = SelectObject(dc, font);
  SIZE size{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  SelectObject(dc, old);
  DeleteObject(font);
  ReleaseDC(nullptr, dc);
  return "[" + std::to_string(size.cx) + "," + std::to_string(metrics.tmHeight) + "]";
}

std::string Json(const std::wstring& text) {
  std::string out = "\"";
  for (char c : orbin::Narrow(text)) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char escaped[8];
      wsprintfA(escaped, "\\u%04x", c);
      out += escaped;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

std::string Json(const RECT& r) {
  return "[" + std::to_string(r.left) + "," + std::to_string(r.top) + "," +
         std::to_string(r.right - r.left) + "," + std::to_string(r.bottom - r.top) + "]";
}

const char* Json(bool value) { return value ? "true" : "false"; }

// The window text as the system keeps it, without asking the window.
std::wstring WindowText(HWND window) {
  wchar_t text[1024] = {};
  InternalGetWindowText(window, text, 1024);
  return text;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[256] = {};
  GetClassNameW(window, name, 256);
  return name;
}

struct Children {
  HWND parent;
  std::vector<HWND> found;
};

BOOL CALLBACK AddChild(HWND child, LPARAM data) {
  auto* children = reinterpret_cast<Children*>(data);
  if (GetParent(child) == children->parent) children->found.push_back(child);
  return TRUE;
}

std::string Describe(HWND window, const std::map<int, FontDesign>& fonts) {
  RECT outer, client;
  GetWindowRect(window, &outer);
  GetClientRect(window, &client);
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  OffsetRect(&client, origin.x, origin.y);
  std::string json = "{\"dpi\":" + std::to_string(ScreenDpi()) + ",\"window\":" + Json(outer) +
                     ",\"client\":" + Json(client);
  // The region lies in window coordinates; the window has no frame when it
  // has a region here, so they are the client's.
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  const bool has_region = GetWindowRgn(window, region) != ERROR;
  if (has_region) {
    RECT box;
    GetRgnBox(region, &box);
    const bool centre = PtInRegion(region, (client.right - client.left) / 2,
                                   (client.bottom - client.top) / 2);
    json += ",\"region\":{\"box\":" + Json(box) + ",\"centre_inside\":" + Json(centre) + "}";
  } else {
    json += ",\"region\":null";
  }

  Children children{window, {}};
  EnumChildWindows(window, &AddChild, reinterpret_cast<LPARAM>(&children));
  json += ",\"controls\":[";
  for (std::size_t i = 0; i < children.found.size(); ++i) {
    HWND control = children.found[i];
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
    const int id = GetDlgCtrlID(control);
    const std::wstring text = WindowText(control);
    auto font = fonts.find(id);
    const bool in_region = !has_region || (PtInRegion(region, r.left, r.top) &&
                                           PtInRegion(region, r.right - 1, r.top) &&
                                           PtInRegion(region, r.left, r.bottom - 1) &&
                                           PtInRegion(region, r.right - 1, r.bottom - 1));
    if (i) json += ",";
    json += "{\"id\":" + std::to_string(id) + ",\"class\":" + Json(ClassOf(control)) +
            ",\"text\":" + Json(text) + ",\"rect\":" + Json(r) +
            ",\"visible\":" + Json(IsWindowVisible(control) != FALSE) +
            ",\"in_region\":" + Json(in_region) +
            ",\"text_size\":" + TextSize(text, font == fonts.end() ? FontDesign{} : font->second) +
            "}";
  }
  DeleteObject(region);
  return json + "],\"check_box\":" + std::to_string(GetSystemMetrics(SM_CXMENUCHECK)) + "}";
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 5 || std::wstring(argv[1]) != L"window") return 2;
  // Physical pixels, as the program (declared aware) sees them.
  SetProcessDPIAware();
  HWND window = FindWindowW(argv[2], nullptr);
  if (!window) return 1;
  std::ofstream out(argv[4], std::ios::binary);
  out << Describe(window, ParseFonts(argv[3]));
  return out ? 0 : 1;
}
