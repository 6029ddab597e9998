#include "printing/prt2_win32.h"

#include <memory>

#include "common/failure.h"
#include "common/program_end.h"
#include "common/quoted_value.h"
#include "platform/files_win32.h"
#include "platform/printer_surface_win32.h"
#include "platform/retry_box_win32.h"
#include "platform/settings_win32.h"
#include "platform/wide_win32.h"
#include "printing/picture_print.h"
#include "printing/print_script.h"
#include "startup/jobs_win32.h"

namespace orbin {
namespace {

// Control ids; an array's element i has id base + i.
enum : int {
  kFrame1 = 10,
  kFrame2,
  kFrame3,
  kFrame4,
  kLabel3,
  kCheckDoctor,
  kCheckdrug,
  kText31,
  kText32,
  kText17,
  kLabel2,
  kCommand1,
  kCommand2,
  kCommand3,
  kCommand4,
  kCombo1,
  kPicture1,
  kCheck1 = 100,
  kText1 = 110,
  kLabel1 = 120,
  kText11 = 130,
  kText12 = 140,
  kText18 = 150,
  kText15 = 160,
  kText16 = 170,
};

constexpr double kClientWidth = 6720;
constexpr double kClientHeight = 6465;

// The five document rows of Frame1 are not in index order on the screen.
constexpr double kRowTop[5] = {600, 240, 960, 1680, 1320};
constexpr double kCheck1Width[5] = {1695, 2055, 1215, 975, 1815};
constexpr const wchar_t* kCheck1Caption[5] = {L"健保收據 (快速)", L"健保總表,信封  (橫向)",
                                              L"交付處方", L"病歷", L"診斷書 就醫證明"};
constexpr const wchar_t* kText1Initial[5] = {L"2", L"1", L"1", L"2", L"3"};
constexpr const wchar_t* kLabel1Caption[8] = {L"#D2", L"#D3", L"#D4", L"#D5",
                                              L"#D6", L"#D7", L"#D8", L"#D9"};
constexpr double kLabel1Width[8] = {1215, 1215, 1215, 1215, 1215, 735, 615, 855};

constexpr COLORREF kLabel3Colour = 0x00404040;
const FontDesign kSaveButtonFont{L"MS Sans Serif", 12, true};

// Fixed dialog border.
const FormDesign kPrt2Form{L"orbin.prt2", L"其他設定", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU,
                           WS_EX_DLGMODALFRAME, kClientWidth, kClientHeight};

// Design values in twips; a control naming a frame is placed inside it.
// clang-format off
std::vector<ControlDesign> Prt2Controls() {
  using K = ControlKind;
  std::vector<ControlDesign> c;
  c.push_back({kFrame1, K::kFrame, L"選擇由程式控制 (非預設印表機)", {120, 120, 2775, 2415}});
  for (int i = 0; i < 5; ++i) {
    c.push_back({kText1 + i, K::kEdit, kText1Initial[i], {120, kRowTop[i], 375, 285}, kFrame1});
    c.push_back({kCheck1 + i, K::kCheckBox, kCheck1Caption[i],
                 {600, kRowTop[i], kCheck1Width[i], 375}, kFrame1});
  }
  c.push_back({kLabel3, K::kLabel, L"  1-4 品質漸高 (或dpi 10-300)", {240, 2040, 2295, 255},
               kFrame1, {}, kLabel3Colour});

  c.push_back({kFrame2, K::kFrame, L"醫師藥師設定", {3000, 120, 3615, 3975}});
  c.push_back({kCheckDoctor, K::kCheckBox, L"使用多位醫師", {480, 240, 1575, 375}, kFrame2});
  for (int i = 0; i < 8; ++i) {
    const double top = 600 + 360 * i;
    c.push_back({kLabel1 + i, K::kLabel, kLabel1Caption[i], {120, top, kLabel1Width[i], 255},
                 kFrame2});
    c.push_back({kText11 + i, K::kEdit, L"", {480, top, 1095, 285}, kFrame2});
    c.push_back({kText12 + i, K::kEdit, L"", {1680, top, 1695, 285}, kFrame2});
  }
  c.push_back({kCheckdrug, K::kCheckBox, L"藥師", {120, 3480, 735, 375}, kFrame2});
  c.push_back({kText31, K::kEdit, L"", {840, 3480, 855, 285}, kFrame2});
  c.push_back({kText32, K::kEdit, L"", {1800, 3480, 1575, 285}, kFrame2});

  c.push_back({kFrame3, K::kFrame, L"附加資料", {120, 2640, 2775, 1335}});
  for (int i = 0; i < 6; ++i)
    c.push_back({kText18 + i, K::kEdit, L"",
                 {i % 2 == 0 ? 120.0 : 1440.0, 240.0 + 360 * (i / 2), 1215, 285}, kFrame3});

  c.push_back({kFrame4, K::kFrame, L"執行其他程式", {120, 3960, 6495, 2055}});
  for (int i = 0; i < 5; ++i) {
    c.push_back({kText15 + i, K::kEdit, L"", {120, 240.0 + 360 * i, 1695, 285}, kFrame4});
    c.push_back({kText16 + i, K::kEdit, L"", {1920, 240.0 + 360 * i, 4455, 285}, kFrame4});
  }

  c.push_back({kLabel2, K::kLabel, L"暫存資料", {120, 6120, 1215, 255}});
  c.push_back({kText17, K::kEdit, L"C:\\OutExe.tmp", {960, 6120, 1935, 285}});
  c.push_back({kCommand4, K::kButton, L"load", {4680, 0, 735, 495}});
  c.push_back({kCommand3, K::kButton, L"存檔", {5280, 120, 1335, 495}, 0, kSaveButtonFont});
  // Beyond the client width: present for the start-up routine, not shown.
  c.push_back({kCombo1, K::kComboDropDown, L"", {7200, 2280, 1935, 315}});
  c.push_back({kPicture1, K::kPicture, L"", {7320, 1320, 1095, 495}});
  c.push_back({kCommand1, K::kButton, L"pic print", {7440, 2880, 1095, 495}});
  c.push_back({kCommand2, K::kButton, L"fileprint", {7680, 3960, 1095, 495}});
  return c;
}
// clang-format on

// The load handler leaves out a step that fails and goes on with the next.
template <class Step>
void SkipOnFailure(Step step) {
  try {
    step();
  } catch (const Failure&) {
  } catch (const std::exception&) {
  }
}

std::string ComboEntry(HWND combo, int index) {
  LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, index, 0);
  if (length == CB_ERR) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  LRESULT n = SendMessageW(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
  if (n == CB_ERR) return {};
  text.resize(static_cast<std::size_t>(n));
  return Narrow(text);
}

// Some controls overlap by design (`Label1(i)` under `Text11(i)`, `Label2`
// under `Text17`, `CheckDoctor` under a corner of "load", "load" over a
// corner of "存檔"). Every control draws only where no sibling above it
// lies, and they are stacked from the bottom: frames, labels, check boxes,
// boxes and lists, buttons ("load" last, on top), so a click on a box or a
// button reaches it.
void StackControls(const Form& form, const std::vector<ControlDesign>& controls) {
  constexpr ControlKind kBottomUp[] = {ControlKind::kFrame,   ControlKind::kLabel,
                                       ControlKind::kPicture, ControlKind::kCheckBox,
                                       ControlKind::kEdit,    ControlKind::kComboDropDown,
                                       ControlKind::kButton};
  for (ControlKind kind : kBottomUp) {
    for (const ControlDesign& control_design : controls) {
      if (control_design.kind != kind) continue;
      HWND control = form.Control(control_design.id);
      SetWindowLongPtrW(control, GWL_STYLE,
                        GetWindowLongPtrW(control, GWL_STYLE) | WS_CLIPSIBLINGS);
      SetWindowPos(control, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
  }
  SetWindowPos(form.Control(kCommand4), HWND_TOP, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

bool InsertComboEntry(HWND combo, const std::string& name, int index) {
  const std::wstring wide = Widen(name);
  return SendMessageW(combo, CB_INSERTSTRING, index, reinterpret_cast<LPARAM>(wide.c_str())) >= 0;
}

// Each step of the list's load is left out when it fails, as in `Form_Load`.
PrinterListContents LoadPrinterList() {
  PrinterListContents contents;
  SkipOnFailure([&] { contents.printers = InstalledPrinters(); });
  SkipOnFailure([&] { contents.default_printer = DefaultPrinterName(); });
  return contents;
}

std::unique_ptr<Prt2> g_prt2;

}  // namespace

Prt2::Prt2() : printers_(&LoadPrinterList) {}

Prt2& Prt2::Loaded() {
  if (!g_prt2) g_prt2.reset(new Prt2());
  return *g_prt2;
}

void Prt2::EnsureWindow() {
  if (hwnd()) return;
  const std::vector<ControlDesign> controls = Prt2Controls();
  Create(kPrt2Form, controls);
  StackControls(*this, controls);
  if (!caption_.empty()) Form::SetCaption(caption_);
  Form_Load();
}

void Prt2::Show() {
  EnsureWindow();
  ShowWindow(hwnd(), SW_SHOW);
  UpdateWindow(hwnd());
}

void Prt2::Unload() { Form_Unload(); }

std::string Prt2::Combo1Text() const {
  return hwnd() ? ControlText(kCombo1) : printers_.Text();
}

std::vector<std::string> Prt2::Combo1Entries() const {
  if (!hwnd()) return printers_.Entries();
  HWND combo = Control(kCombo1);
  std::vector<std::string> entries;
  const LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
  for (int i = 0; i < count; ++i) entries.push_back(ComboEntry(combo, i));
  return entries;
}

void Prt2::Combo1InsertItem(const std::string& name, int index) {
  const bool inserted =
      hwnd() ? InsertComboEntry(Control(kCombo1), name, index) : printers_.Insert(name, index);
  if (!inserted) throw Failure("無法把" + QuotedValue(name) + "加入印表機清單");
}

void Prt2::SetCombo1ListIndex(int index) {
  const bool selected = hwnd() ? SendMessageW(Control(kCombo1), CB_SETCURSEL, index, 0) != CB_ERR
                               : printers_.Select(index);
  if (!selected) throw Failure("印表機清單沒有位置 " + std::to_string(index));
  Combo1_Click();
}

// Runs as the window is created. `Combo1` takes over the list the window
// kept until then (what the print system said when it was first read, with
// any entry inserted meanwhile).
void Prt2::Form_Load() {
  SkipOnFailure([&] { MakeTopmost(); });
  for (const std::string& printer : printers_.Entries())
    SkipOnFailure([&] { InsertComboEntry(Control(kCombo1), printer, -1); });
  // Text only: no selection, so no printer is switched here.
  SkipOnFailure([&] { SetControlText(kCombo1, printers_.Text()); });
}

void Prt2::Form_Unload() { throw EndProgram{0}; }

void Prt2::Combo1_Click() {
  if (!hwnd()) {
    selection_.Combo1_Click(printers_.Text(), *this);
    return;
  }
  // The selected entry: while a user's selection is being notified, the
  // list's edit field still shows the previous text.
  HWND combo = Control(kCombo1);
  const LRESULT selected = SendMessageW(combo, CB_GETCURSEL, 0, 0);
  const std::string text =
      selected == CB_ERR ? Combo1Text() : ComboEntry(combo, static_cast<int>(selected));
  selection_.Combo1_Click(text, *this);
}

void Prt2::Command1_Click() {
  Win32FileSystem files;
  RunPicturePrint(Program().argument_text, files, DefaultPrinter());
  throw EndProgram{0};
}

void Prt2::Command2_Click() {
  Win32FileSystem files;
  RunPrintScriptFile(files, DefaultPrinter());
  throw EndProgram{0};
}

void Prt2::Command3_Click() {
  EnsureWindow();
  ReadControls();
  Win32SettingsFile settings;
  // Cancel keeps the window open with everything as the person left it.
  settings_.Save(settings, Program().SettingsPath(), [&](const std::string& message) {
    return AskRetryBox(hwnd(), message, "設定視窗");
  });
}

void Prt2::Command4_Click() {
  EnsureWindow();
  ReadControls();
  Win32SettingsFile settings;
  settings_.Load(settings, Program().SettingsPath());
  ShowSettings();
}

void Prt2::SetCaption(const std::string& caption) {
  caption_ = caption;
  if (hwnd()) Form::SetCaption(caption);
}

int Prt2::CheckState(int id) const {
  return static_cast<int>(SendMessageW(Control(id), BM_GETCHECK, 0, 0));
}

void Prt2::SetCheckState(int id, int state) {
  SendMessageW(Control(id), BM_SETCHECK, static_cast<WPARAM>(state), 0);
}

void Prt2::ReadControls() {
  PrinterSettings& s = settings_;
  for (int i = 0; i < 5; ++i) {
    s.Check1[i] = CheckState(kCheck1 + i);
    s.Text1[i] = ControlText(kText1 + i);
  }
  // CheckDoctor and Checkdrug follow their boxes through the click handler.
  for (int i = 0; i < 8; ++i) {
    s.Text11[i] = ControlText(kText11 + i);
    s.Text12[i] = ControlText(kText12 + i);
  }
  s.Text31 = ControlText(kText31);
  s.Text32 = ControlText(kText32);
  s.Text17 = ControlText(kText17);
  for (int i = 0; i < 6; ++i) s.Text18[i] = ControlText(kText18 + i);
  for (int i = 0; i < 5; ++i) {
    s.Text15[i] = ControlText(kText15 + i);
    s.Text16[i] = ControlText(kText16 + i);
  }
}

void Prt2::ShowSettings() {
  const PrinterSettings& s = settings_;
  for (int i = 0; i < 5; ++i) {
    SetCheckState(kCheck1 + i, s.Check1[i]);
    SetControlText(kText1 + i, s.Text1[i]);
  }
  SetCheckState(kCheckDoctor, s.CheckDoctor.State());
  for (int i = 0; i < 8; ++i) {
    SetControlText(kText11 + i, s.Text11[i]);
    SetControlText(kText12 + i, s.Text12[i]);
  }
  SetCheckState(kCheckdrug, s.Checkdrug.State());
  SetControlText(kText31, s.Text31);
  SetControlText(kText32, s.Text32);
  SetControlText(kText17, s.Text17);
  for (int i = 0; i < 6; ++i) SetControlText(kText18 + i, s.Text18[i]);
  for (int i = 0; i < 5; ++i) {
    SetControlText(kText15 + i, s.Text15[i]);
    SetControlText(kText16 + i, s.Text16[i]);
  }
}

void Prt2::OnCommand(int id, int code, HWND control) {
  switch (id) {
    case kCombo1:
      if (code == CBN_SELCHANGE) Combo1_Click();
      return;
    case kCheckDoctor:
      if (code == BN_CLICKED) settings_.CheckDoctor.SetByUser(CheckState(kCheckDoctor));
      return;
    case kCheckdrug:
      if (code == BN_CLICKED) settings_.Checkdrug.SetByUser(CheckState(kCheckdrug));
      return;
  }
  if (code != BN_CLICKED) return;
  switch (id) {
    case kCommand1:
      Command1_Click();
    case kCommand2:
      Command2_Click();
    case kCommand3:
      Command3_Click();
      return;
    case kCommand4:
      Command4_Click();
      return;
  }
}

}  // namespace orbin
