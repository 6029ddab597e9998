#include "platform/form_win32.h"

#include <cmath>

#include "platform/wide_win32.h"
#include "platform/run_guard_win32.h"

namespace orbin {
namespace {

constexpr double kTwipsPerInch = 1440;

int ReadScreenDpi(int index) {
  HDC screen = GetDC(nullptr);
  int dpi = GetDeviceCaps(screen, index);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : 96;
}

// Read once: the screen's pixels per inch stay as they are while the
// program runs, and a window lays out dozens of values with them.
int ScreenDpi(int index) {
  static const int x = ReadScreenDpi(LOGPIXELSX);
  static const int y = ReadScreenDpi(LOGPIXELSY);
  return index == LOGPIXELSX ? x : y;
}

struct ControlClass {
  const wchar_t* window_class;
  DWORD style;
};

ControlClass ClassFor(ControlKind kind) {
  switch (kind) {
    case ControlKind::kLabel: return {L"STATIC", SS_LEFT | SS_NOTIFY};
    case ControlKind::kCentredLabel: return {L"STATIC", SS_CENTER | SS_NOTIFY};
    case ControlKind::kEdit: return {L"EDIT", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL};
    case ControlKind::kButton: return {L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP};
    // Three states, but a click only toggles: see Form::CheckBoxClicked.
    case ControlKind::kCheckBox: return {L"BUTTON", BS_3STATE | WS_TABSTOP};
    case ControlKind::kComboDropDown: return {L"COMBOBOX", CBS_DROPDOWN | WS_VSCROLL | WS_TABSTOP};
    case ControlKind::kListBox: return {L"LISTBOX", WS_BORDER | WS_VSCROLL | LBS_NOTIFY};
    case ControlKind::kFrame: return {L"BUTTON", BS_GROUPBOX};
    case ControlKind::kPicture: return {L"STATIC", SS_BITMAP | SS_NOTIFY};
  }
  return {L"STATIC", 0};
}

std::map<HWND, WNDPROC>& PreviousProcs() {
  static std::map<HWND, WNDPROC> procs;
  return procs;
}

}  // namespace

double TwipsPerPixelX() { return kTwipsPerInch / ScreenDpi(LOGPIXELSX); }
double TwipsPerPixelY() { return kTwipsPerInch / ScreenDpi(LOGPIXELSY); }
int PixelsX(double twips) { return static_cast<int>(std::lround(twips / TwipsPerPixelX())); }
int PixelsY(double twips) { return static_cast<int>(std::lround(twips / TwipsPerPixelY())); }
double TwipsX(int pixels) { return pixels * TwipsPerPixelX(); }
double TwipsY(int pixels) { return pixels * TwipsPerPixelY(); }

Form::~Form() {
  if (hwnd_) {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
  for (auto& [id, brush] : brushes_) DeleteObject(brush);
  for (HFONT font : fonts_) DeleteObject(font);
}

HFONT Form::FontFor(const FontDesign& font) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  LOGFONTW lf = metrics.lfMessageFont;
  if (font.face) lstrcpynW(lf.lfFaceName, font.face, LF_FACESIZE);
  if (font.points > 0) lf.lfHeight = -static_cast<LONG>(std::lround(font.points * ScreenDpi(LOGPIXELSY) / 72.0));
  lf.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
  lf.lfUnderline = font.underline;
  lf.lfCharSet = DEFAULT_CHARSET;
  HFONT handle = CreateFontIndirectW(&lf);
  fonts_.push_back(handle);
  return handle;
}

void Form::Create(const FormDesign& design, const std::vector<ControlDesign>& controls,
                  HWND owner) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW window_class{};
  window_class.cbSize = sizeof window_class;
  if (!GetClassInfoExW(instance, design.class_name, &window_class)) {
    window_class.cbSize = sizeof window_class;
    window_class.lpfnWndProc = &Form::WindowProc;
    window_class.hInstance = instance;
    window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    window_class.lpszClassName = design.class_name;
    window_class.style = CS_DBLCLKS;
    if (design.icon_resource) {
      window_class.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(design.icon_resource));
      window_class.hIconSm = static_cast<HICON>(LoadImageW(
          instance, MAKEINTRESOURCEW(design.icon_resource), IMAGE_ICON, 16, 16, 0));
    }
    RegisterClassExW(&window_class);
  }
  RECT outer{0, 0, PixelsX(design.client_width_twips), PixelsY(design.client_height_twips)};
  AdjustWindowRectEx(&outer, design.style, FALSE, design.ex_style);
  hwnd_ = CreateWindowExW(design.ex_style, design.class_name, design.caption, design.style, CW_USEDEFAULT,
                          CW_USEDEFAULT, outer.right - outer.left, outer.bottom - outer.top, owner,
                          nullptr, instance, this);

  std::map<int, TwipsRect> placed;  // absolute twips of frames
  for (const ControlDesign& c : controls) {
    TwipsRect r = c.rect;
    if (c.container) {
      r.left += placed[c.container].left;
      r.top += placed[c.container].top;
    }
    placed[c.id] = r;
    ControlClass cls = ClassFor(c.kind);
    HWND control = CreateWindowExW(0, cls.window_class, c.text, WS_CHILD | WS_VISIBLE | cls.style,
                                   PixelsX(r.left), PixelsY(r.top), PixelsX(r.width),
                                   PixelsY(r.height), hwnd_,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), instance, nullptr);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(ControlFont(c)), FALSE);
    controls_[c.id] = control;
    if (c.text_colour != kDefaultColour) text_colours_[c.id] = c.text_colour;
    if (c.back_colour != kDefaultColour) {
      back_colours_[c.id] = c.back_colour;
      brushes_[c.id] = CreateSolidBrush(c.back_colour);
    }
    if (c.transparent) transparent_[c.id] = true;
    if (c.kind == ControlKind::kCheckBox) check_boxes_.insert(c.id);
  }
}

void Form::CheckBoxClicked(HWND box) {
  // A person's click turns a marked box (checked or grayed) off and an
  // empty one on; the grayed state only ever comes from the window's code.
  const bool marked = SendMessageW(box, BM_GETCHECK, 0, 0) != BST_UNCHECKED;
  SendMessageW(box, BM_SETCHECK, marked ? BST_UNCHECKED : BST_CHECKED, 0);
}

HFONT Form::ControlFont(const ControlDesign& control) { return FontFor(control.font); }

HWND Form::Control(int id) const {
  auto it = controls_.find(id);
  return it == controls_.end() ? nullptr : it->second;
}

void Form::SetCaption(const std::string& utf8) { SetWindowTextW(hwnd_, Widen(utf8).c_str()); }

std::string Form::Caption() const {
  wchar_t buffer[1024];
  int n = GetWindowTextW(hwnd_, buffer, 1024);
  return Narrow(std::wstring_view(buffer, n));
}

std::string Form::ControlText(int id) const {
  HWND control = Control(id);
  int length = GetWindowTextLengthW(control);
  std::wstring text(length + 1, L'\0');
  int n = GetWindowTextW(control, text.data(), length + 1);
  text.resize(n);
  return Narrow(text);
}

void Form::SetControlText(int id, const std::string& utf8) {
  SetWindowTextW(Control(id), Widen(utf8).c_str());
}

void Form::SetControlTextColour(int id, COLORREF colour) {
  text_colours_[id] = colour;
  InvalidateRect(Control(id), nullptr, TRUE);
}

void Form::MoveTwips(double left, double top) {
  SetWindowPos(hwnd_, nullptr, PixelsX(left), PixelsY(top), 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::SetOuterHeightTwips(double height) {
  RECT r;
  GetWindowRect(hwnd_, &r);
  SetWindowPos(hwnd_, nullptr, 0, 0, r.right - r.left, PixelsY(height),
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

TwipsRect Form::OuterRectTwips() const {
  RECT r;
  GetWindowRect(hwnd_, &r);
  return {TwipsX(r.left), TwipsY(r.top), TwipsX(r.right - r.left), TwipsY(r.bottom - r.top)};
}

void Form::MakeTopmost() {
  SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

LRESULT Form::DefaultHandling(UINT message, WPARAM wparam, LPARAM lparam) {
  return DefWindowProcW(hwnd_, message, wparam, lparam);
}

LRESULT Form::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_COMMAND:
      if (HIWORD(wparam) == BN_CLICKED && check_boxes_.count(LOWORD(wparam)))
        CheckBoxClicked(reinterpret_cast<HWND>(lparam));
      OnCommand(LOWORD(wparam), HIWORD(wparam), reinterpret_cast<HWND>(lparam));
      return 0;
    case WM_TIMER:
      OnTimer(wparam);
      return 0;
    case WM_CLOSE:
      OnCloseRequest();
      return 0;
    case WM_ENDSESSION:
      // The session ends once this returns: close now, while the window's
      // own clean-up (tray icon, reader) can still run.
      if (wparam) OnCloseRequest();
      return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT: {
      HDC dc = reinterpret_cast<HDC>(wparam);
      int id = GetDlgCtrlID(reinterpret_cast<HWND>(lparam));
      auto text = text_colours_.find(id);
      if (text != text_colours_.end()) SetTextColor(dc, text->second);
      if (transparent_.count(id)) {
        SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
      }
      auto back = brushes_.find(id);
      if (back != brushes_.end()) {
        SetBkColor(dc, back_colours_[id]);
        return reinterpret_cast<LRESULT>(back->second);
      }
      if (message == WM_CTLCOLOREDIT) return DefaultHandling(message, wparam, lparam);
      SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
  }
  return DefaultHandling(message, wparam, lparam);
}

LRESULT CALLBACK Form::WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lparam);
    auto* form = static_cast<Form*>(create->lpCreateParams);
    form->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
  }
  auto* form = reinterpret_cast<Form*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!form) return DefWindowProcW(hwnd, message, wparam, lparam);
  LRESULT result = 0;
  // A C++ exception must not cross the system's dispatch: an end or a
  // failure inside a handler ends the program here.
  RunHandler([&] { result = form->HandleMessage(message, wparam, lparam); });
  return result;
}

void SubclassControl(HWND control, WNDPROC proc) {
  PreviousProcs()[control] = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc)));
}

WNDPROC PreviousWindowProc(HWND control) { return PreviousProcs()[control]; }

}  // namespace orbin
