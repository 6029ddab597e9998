#include "statusmonitor/memfrm_win32.h"

#include <vector>

#include "common/failure.h"
#include "common/program_end.h"
#include "platform/files_win32.h"
#include "platform/run_guard_win32.h"
#include "platform/system_libraries_win32.h"
#include "platform/wide_win32.h"
#include "resource_ids.h"
#include "statusmonitor/tray_rules.h"

namespace orbin {
namespace {

enum : int {
  kLabel1 = 101, kLabel2, kLabel3, kLabel4, kLabel5, kLabel6, kLabel7, kLabel8, kLabel9,
  kLabel10, kLabel11, kLabel12, kLabel13, kLabel14, kList1, kCommand1, kLabel16, kLabel17,
  kText1, kLabel19, kLabel18, kText2, kLabel20, kTrayIcon,
};
// Items of the `File` menu.
enum : int { kBytesFree = 201, kShForm, kLine2, kQuit };

constexpr UINT_PTR kTimer1 = 1;
constexpr UINT kTimer1Milliseconds = 1000;
constexpr COLORREF kButtonLabelBack = 0x00E0E0E0;
constexpr wchar_t kTrayOwnerProperty[] = L"orbin.memfrm";

const FormDesign kMemfrmDesign{
    .class_name = L"orbin.memfrm",
    .caption = L"Tarnwell Inc. Mem Control",
    // Fixed single border; the close box only.
    .style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU,
    .ex_style = 0,
    .client_width_twips = 3270,
    .client_height_twips = 2070,
    .icon_resource = IDI_MEMFRM,
};

// The window's font, which every control of the design uses.
std::vector<ControlDesign> WithFont(std::vector<ControlDesign> controls) {
  for (ControlDesign& c : controls) c.font = {L"MS Sans Serif", 8.25};
  return controls;
}

// Design values, twips. Everything from Label16 down and the tray icon's
// holder lie below or beside the client area, as designed.
const std::vector<ControlDesign>& MemfrmControls() {
  using K = ControlKind;
  static const std::vector<ControlDesign> controls = WithFont(std::vector<ControlDesign>{
      {kLabel1, K::kLabel, L"Memory used:", {120, 120, 1095, 255}},
      {kLabel2, K::kLabel, L"", {1200, 120, 735, 255}},
      {kLabel3, K::kLabel, L"Total Physical Memory:", {120, 360, 1635, 195}},
      {kLabel4, K::kLabel, L"", {1965, 360, 45, 195}},
      {kLabel5, K::kLabel, L"Available Physical Memory:", {120, 600, 1920, 195}},
      {kLabel6, K::kLabel, L"", {2175, 600, 45, 195}},
      {kLabel7, K::kLabel, L"Page File Bytes:", {120, 840, 1215, 255}},
      {kLabel8, K::kLabel, L"", {1440, 840, 2295, 255}},
      {kLabel9, K::kLabel, L"Available bytes of Page File:", {120, 1080, 2055, 255}},
      {kLabel10, K::kLabel, L"", {2280, 1080, 2055, 255}},
      {kLabel11, K::kLabel, L"Total Virtual bytes:", {120, 1320, 1455, 255}},
      {kLabel12, K::kLabel, L"", {1560, 1320, 2895, 255}},
      {kLabel13, K::kLabel, L"Available Virtual Bytes:", {120, 1560, 1695, 255}},
      {kLabel14, K::kLabel, L"", {1800, 1560, 2775, 255}},
      {kList1, K::kListBox, L"", {360, 1560, 1815, 450}},
      {kCommand1, K::kButton, L"V", {3000, 0, 255, 255}},
      {kLabel16, K::kLabel, L"Zero Memory Control:", {120, 2760, 1575, 255}},
      {kLabel17, K::kLabel, L"Adress:", {360, 3000, 615, 255}},
      {kText1, K::kEdit, L"", {960, 3000, 1815, 285}},
      {.id = kLabel19, .kind = K::kCentredLabel, .text = L"Clear Mem",
       .rect = {2880, 3000, 1695, 255}, .back_colour = kButtonLabelBack},
      {kLabel18, K::kLabel, L"Bytes to fill:", {360, 3360, 855, 255}},
      {kText2, K::kEdit, L"", {1200, 3360, 1815, 285}},
      {.id = kLabel20, .kind = K::kCentredLabel, .text = L"Quit",
       .rect = {3120, 3360, 1455, 255}, .back_colour = kButtonLabelBack},
      {kTrayIcon, K::kPicture, L"", {4200, 480, 615, 495}},
  });
  return controls;
}

}  // namespace

MemfrmForm::MemfrmForm() = default;

MemfrmForm::~MemfrmForm() {
  if (file_menu_) DestroyMenu(file_menu_);
  if (tray_icon_) DestroyIcon(tray_icon_);
}

void MemfrmForm::Load(StatusMonitor& monitor) {
  monitor_ = &monitor;
  Create(kMemfrmDesign, MemfrmControls());
  // The `File` menu is not on the bar; it serves as the tray icon's pop-up.
  file_menu_ = CreatePopupMenu();
  AppendMenuW(file_menu_, MF_STRING, kBytesFree, L"BytesFree");
  AppendMenuW(file_menu_, MF_STRING, kShForm, L"Show Form");
  AppendMenuW(file_menu_, MF_SEPARATOR, kLine2, nullptr);
  AppendMenuW(file_menu_, MF_STRING, kQuit, L"Quit");
  // `TrayIcon` holds the window's icon and receives the icon's
  // notifications.
  HWND tray = Control(kTrayIcon);
  SetWindowLongPtrW(tray, GWL_STYLE, WS_CHILD | WS_VISIBLE | SS_ICON | SS_NOTIFY);
  tray_icon_ = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr),
                                             MAKEINTRESOURCEW(IDI_MEMFRM), IMAGE_ICON,
                                             GetSystemMetrics(SM_CXSMICON),
                                             GetSystemMetrics(SM_CYSMICON), 0));
  SendMessageW(tray, STM_SETICON, reinterpret_cast<WPARAM>(tray_icon_), 0);
  SetPropW(tray, kTrayOwnerProperty, this);
  SubclassControl(tray, &MemfrmForm::TrayIconProc);
  SetTimer(hwnd(), kTimer1, kTimer1Milliseconds, nullptr);
}

void MemfrmForm::SetCaption(const std::string& caption) { Form::SetCaption(caption); }

void MemfrmForm::SetMemoryTexts(const MemoryTexts& texts) {
  const std::pair<int, const std::string*> fields[] = {
      {kLabel2, &texts.memory_used},          {kLabel4, &texts.total_physical},
      {kLabel6, &texts.available_physical},   {kLabel8, &texts.page_file},
      {kLabel10, &texts.available_page_file}, {kLabel12, &texts.total_virtual},
      {kLabel14, &texts.available_virtual}};
  for (const auto& [id, text] : fields) {
    if (ControlText(id) != *text) SetControlText(id, *text);
  }
  FitToText(kLabel4);
  FitToText(kLabel6);
}

void MemfrmForm::FitToText(int id) {
  HWND label = Control(id);
  const std::wstring text = Widen(ControlText(id));
  HDC dc = GetDC(label);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)));
  SIZE size{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(label, dc);
  RECT r;
  GetClientRect(label, &r);
  SetWindowPos(label, nullptr, 0, 0, size.cx > 0 ? size.cx : PixelsX(45), r.bottom,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MemfrmForm::AddTrayIcon() {
  tray_data_ = {};
  tray_data_.cbSize = sizeof tray_data_;
  tray_data_.hWnd = Control(kTrayIcon);
  tray_data_.uID = kTrayIconId;
  tray_data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  tray_data_.uCallbackMessage = kTrayCallbackMessage;
  tray_data_.hIcon = reinterpret_cast<HICON>(SendMessageW(Control(kTrayIcon), STM_GETICON, 0, 0));
  lstrcpynW(tray_data_.szTip, Widen(kTrayTip).c_str(), ARRAYSIZE(tray_data_.szTip));
  tray_result_ = Shell().Shell_NotifyIconW(NIM_ADD, &tray_data_);
}

void MemfrmForm::Show() { ShowWindow(hwnd(), SW_SHOW); }

void MemfrmForm::Command1_Click() { ShowWindow(hwnd(), SW_HIDE); }

void MemfrmForm::ShForm_Click() { Show(); }

void MemfrmForm::Form_Unload() {
  KillTimer(hwnd(), kTimer1);
  // Removing an icon that was never added is harmless.
  tray_result_ = Shell().Shell_NotifyIconW(NIM_DELETE, &tray_data_);
  throw EndProgram{0};
}

void MemfrmForm::Trayicon_MouseMove(LPARAM notification) {
  switch (TrayNotificationAction(static_cast<std::uint32_t>(notification))) {
    case TrayAction::kShowWindow:
      Show();
      break;
    case TrayAction::kPopupFileMenu:
      PopUpFileMenu();
      break;
    case TrayAction::kNone:
      break;
  }
}

void MemfrmForm::PopUpFileMenu() {
  POINT at;
  GetCursorPos(&at);
  // Without the foreground the menu would not close when clicked away.
  SetForegroundWindow(hwnd());
  TrackPopupMenu(file_menu_, TPM_RIGHTBUTTON, at.x, at.y, 0, hwnd(), nullptr);
  PostMessageW(hwnd(), WM_NULL, 0, 0);
}

void MemfrmForm::OnCommand(int id, int code, HWND control) {
  switch (id) {
    case kCommand1:
      if (code == BN_CLICKED) Command1_Click();
      break;
    case kLabel20:
      if (code == STN_CLICKED) Form_Unload();
      break;
    case kQuit:
      if (!control) Form_Unload();
      break;
    case kShForm:
      if (!control) ShForm_Click();
      break;
    // "BytesFree" and "Clear Mem" (Label19) do nothing.
    default:
      break;
  }
}

void MemfrmForm::OnTimer(UINT_PTR id) {
  if (id == kTimer1 && monitor_) monitor_->Timer1_Timer();
}

LRESULT CALLBACK MemfrmForm::TrayIconProc(HWND control, UINT message, WPARAM wparam,
                                          LPARAM lparam) {
  auto* form = static_cast<MemfrmForm*>(GetPropW(control, kTrayOwnerProperty));
  // The icon's notifications come as the callback message with the mouse
  // message in lParam.
  if (form && message == kTrayCallbackMessage && wparam == kTrayIconId) {
    RunHandler([&] { form->Trayicon_MouseMove(lparam); });
    return 0;
  }
  return CallWindowProcW(PreviousWindowProc(control), control, message, wparam, lparam);
}

MemoryFigures Win32MemorySource::Read() {
  MEMORYSTATUSEX status{};
  status.dwLength = sizeof status;
  if (!GlobalMemoryStatusEx(&status))
    throw Failure("無法讀取記憶體狀態：" + SystemErrorText(GetLastError()));
  return {.memory_load_percent = status.dwMemoryLoad,
          .total_physical_bytes = status.ullTotalPhys,
          .available_physical_bytes = status.ullAvailPhys,
          .total_page_file_bytes = status.ullTotalPageFile,
          .available_page_file_bytes = status.ullAvailPageFile,
          .total_virtual_bytes = status.ullTotalVirtual,
          .available_virtual_bytes = status.ullAvailVirtual};
}

}  // namespace orbin
