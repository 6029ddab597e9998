#include "treatment/chg2eng_win32.h"

#include <algorithm>
#include <cmath>
#include <string_view>
#include <vector>

#include "common/text.h"
#include "platform/retry_box_win32.h"
#include "platform/run_guard_win32.h"
#include "platform/wide_win32.h"

namespace orbin {
namespace {

constexpr wchar_t kSansSerif[] = L"MS Sans Serif";
constexpr wchar_t kFormProperty[] = L"orbin.chg2eng";

// Design client area; the outer height is set at run time (1400 / 1800).
const FormDesign kFormDesign{
    L"chg2eng",
    L"輸入健保治療部位項目",
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU,  // fixed dialog frame with a close box
    WS_EX_DLGMODALFRAME,
    4065,
    1680,
};

const std::vector<ControlDesign>& ControlTable() {
  static const std::vector<ControlDesign> table = {
      {chg2eng::kText1, ControlKind::kEdit, L"", {120, 120, 3375, 615}, 0, {kSansSerif, 18, true}},
      {chg2eng::kCommand2, ControlKind::kButton, L"X", {3600, 240, 375, 375}, 0,
       {kSansSerif, 8.25, true}},
      // Sized so that only the box shows.
      {chg2eng::kCheck1, ControlKind::kCheckBox, L"Check1", {3600, 840, 255, 255}},
      {chg2eng::kLabel2, ControlKind::kLabel, L"Label1", {120, 840, 810, 300}, 0,
       {kSansSerif, 12, true}, RGB(255, 0, 0)},
      // Label1 and Label3 lie below the client area at both run-time heights.
      {chg2eng::kLabel1, ControlKind::kLabel, L"Label1", {240, 1800, 3015, 375}, 0,
       {kSansSerif, 12, true}, RGB(0, 0, 255)},
      {chg2eng::kLabel3, ControlKind::kLabel, L"按 \"空白鍵\" 後 為多項輸入格式",
       {120, 2640, 3240, 300}, 0, {kSansSerif, 12, false}, RGB(0, 0, 192)},
  };
  return table;
}

int CheckValue(HWND box) { return static_cast<int>(SendMessageW(box, BM_GETCHECK, 0, 0)); }

}  // namespace

chg2eng::~chg2eng() {
  for (HFONT font : fonts_) DeleteObject(font);
}

void chg2eng::Open(TreatmentEntryForm& rules, const Win32InputLanguage& input_language) {
  rules_ = &rules;
  input_language_ = &input_language;
  Create(kFormDesign, ControlTable());
  for (int id : {kText1, kCheck1}) SetPropW(Control(id), kFormProperty, this);
  SubclassControl(Control(kText1), &chg2eng::Text1Proc);
  SubclassControl(Control(kCheck1), &chg2eng::Check1Proc);
}

// The table's face at the table's size, with the character set its text
// needs. Asked for with the system's default set (Big5 here), the font
// mapper passes over MS Sans Serif, which has Latin glyphs only; Chinese
// text asks for Big5, so the mapper picks a face that has its glyphs.
HFONT chg2eng::ControlFont(const ControlDesign& control) {
  if (!control.font.face) return Form::ControlFont(control);
  const std::wstring_view text(control.text);
  const bool latin = std::all_of(text.begin(), text.end(), [](wchar_t c) { return c < 0x80; });
  LOGFONTW lf{};
  HDC screen = GetDC(nullptr);
  lf.lfHeight =
      -static_cast<LONG>(std::lround(control.font.points * GetDeviceCaps(screen, LOGPIXELSY) / 72.0));
  ReleaseDC(nullptr, screen);
  lf.lfWeight = control.font.bold ? FW_BOLD : FW_NORMAL;
  lf.lfUnderline = control.font.underline;
  lf.lfCharSet = latin ? ANSI_CHARSET : CHINESEBIG5_CHARSET;
  lstrcpynW(lf.lfFaceName, control.font.face, LF_FACESIZE);
  HFONT font = CreateFontIndirectW(&lf);
  fonts_.push_back(font);
  return font;
}

chg2eng* chg2eng::Of(HWND control) {
  return static_cast<chg2eng*>(GetPropW(control, kFormProperty));
}

void chg2eng::ShowTopmost() {
  ShowWindow(hwnd(), SW_SHOW);
  MakeTopmost();
}

void chg2eng::MoveLeft(double twips) {
  RECT r;
  GetWindowRect(hwnd(), &r);
  SetWindowPos(hwnd(), nullptr, PixelsX(twips), r.top, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void chg2eng::MoveTop(double twips) {
  RECT r;
  GetWindowRect(hwnd(), &r);
  SetWindowPos(hwnd(), nullptr, r.left, PixelsY(twips), 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void chg2eng::SetOuterHeight(int twips) { SetOuterHeightTwips(twips); }

void chg2eng::SetCaption(const std::string& text) { Form::SetCaption(text); }

void chg2eng::SetShortcutLabel(const std::string& text) { SetControlText(kLabel1, text); }

void chg2eng::SetItemsLabel(const std::string& text) { SetControlText(kLabel2, text); }

void chg2eng::SetFormatCheck(int value) {
  SendMessageW(Control(kCheck1), BM_SETCHECK, static_cast<WPARAM>(value), 0);
}

void chg2eng::SetText(const std::string& text) {
  HWND edit = Control(kText1);
  SetWindowTextW(edit, Widen(text).c_str());
  SendMessageW(edit, EM_SETSEL, 0, 0);
}

void chg2eng::SetCaret(std::size_t chars) {
  // The rules count characters; the edit control counts UTF-16 units.
  const std::size_t units = Widen(CharSubstr(ControlText(kText1), 0, chars)).size();
  HWND edit = Control(kText1);
  SendMessageW(edit, EM_SETSEL, units, units);
  SendMessageW(edit, EM_SCROLLCARET, 0, 0);
}

void chg2eng::FocusText() { SetFocus(Control(kText1)); }

bool chg2eng::AskRetry(const std::string& message) {
  const bool retry = AskRetryBox(hwnd(), message, "輸入視窗");
  skip_key_up_ = true;
  return retry;
}

LRESULT chg2eng::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_SETFOCUS:
      rules_->Form_GotFocus();
      return 0;
  }
  return Form::HandleMessage(message, wparam, lparam);
}

void chg2eng::OnCommand(int id, int code, HWND control) {
  if (id == kText1 && code == EN_CHANGE) {
    rules_->Text1_Change(ControlText(kText1));
  } else if (id == kCommand2 && code == BN_CLICKED) {
    rules_->Command2_Click();
    // Still open: the result could not be written and the user cancelled.
    // The keys belong to Text1 again, not to the button.
    FocusText();
  } else if (id == kCheck1 && code == BN_CLICKED) {
    rules_->Check1_Click(CheckValue(control));
  }
}

LRESULT CALLBACK chg2eng::Text1Proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  chg2eng* form = Of(hwnd);
  const WNDPROC original = PreviousWindowProc(hwnd);
  if (form->input_language_->Waiting()) {
    // The start-up is toggling the input method and has not cleared the
    // box yet: a key-up here would finish the old entry once more, from
    // inside the start-up.
    if (message == WM_CHAR) return 0;
    return CallWindowProcW(original, hwnd, message, wparam, lparam);
  }
  switch (message) {
    case WM_CHAR: {
      // The rules see the character first and may change or discard it.
      auto key_ascii = static_cast<std::uint16_t>(wparam);
      RunHandler([&] { form->rules_->Text1_KeyPress(key_ascii); });
      if (key_ascii == 0) return 0;
      return CallWindowProcW(original, hwnd, message, key_ascii, lparam);
    }
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      form->skip_key_up_ = false;
      break;
    case WM_KEYUP:
    case WM_SYSKEYUP: {
      LRESULT result = CallWindowProcW(original, hwnd, message, wparam, lparam);
      if (form->skip_key_up_) {
        form->skip_key_up_ = false;
        return result;
      }
      RunHandler([&] { form->rules_->Text1_KeyUp(); });
      return result;
    }
  }
  return CallWindowProcW(original, hwnd, message, wparam, lparam);
}

LRESULT CALLBACK chg2eng::Check1Proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  chg2eng* form = Of(hwnd);
  const WNDPROC original = PreviousWindowProc(hwnd);
  LRESULT result = CallWindowProcW(original, hwnd, message, wparam, lparam);
  if (message == WM_SETFOCUS) {
    if (GetKeyState(VK_LBUTTON) < 0) {
      form->check1_focus_pending_ = true;
    } else {
      RunHandler([&] { form->rules_->Check1_GotFocus(); });
    }
  } else if (message == WM_LBUTTONUP && form->check1_focus_pending_) {
    form->check1_focus_pending_ = false;
    RunHandler([&] { form->rules_->Check1_GotFocus(); });
  }
  return result;
}

}  // namespace orbin
