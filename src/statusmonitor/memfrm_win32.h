#pragma once
// `memfrm` on Win32: the status monitor window with its design controls, the
// 1000 ms status timer, the notification-area icon and the "File" pop-up.
#include <windows.h>
#include <shellapi.h>

#include "platform/form_win32.h"
#include "statusmonitor/status_monitor_view.h"
#include "statusmonitor/status_tick.h"

namespace orbin {

class MemfrmForm : public Form, public StatusMonitorView {
 public:
  MemfrmForm();
  ~MemfrmForm() override;

  // Creates the window hidden with its controls and starts the timer; the
  // handlers then run `monitor`'s rules.
  void Load(StatusMonitor& monitor);

  // StatusMonitorView
  void SetCaption(const std::string& caption) override;
  void SetMemoryTexts(const MemoryTexts& texts) override;
  void AddTrayIcon() override;
  void Show() override;

  // Handlers.
  void Command1_Click();
  void ShForm_Click();
  // Removes the tray icon and ends the program.
  [[noreturn]] void Form_Unload();
  void Trayicon_MouseMove(LPARAM notification);

 protected:
  void OnCloseRequest() override { Form_Unload(); }
  void OnCommand(int id, int code, HWND control) override;
  void OnTimer(UINT_PTR id) override;

 private:
  static LRESULT CALLBACK TrayIconProc(HWND control, UINT message, WPARAM wparam, LPARAM lparam);
  void PopUpFileMenu();
  // A label sized to its text grows with it.
  void FitToText(int id);

  StatusMonitor* monitor_ = nullptr;
  HMENU file_menu_ = nullptr;
  HICON tray_icon_ = nullptr;
  NOTIFYICONDATAW tray_data_{};  // all zero until the icon is added
  BOOL tray_result_ = FALSE;     // of the latest tray call; not acted on
};

// The machine's memory figures through GlobalMemoryStatusEx.
class Win32MemorySource : public MemorySource {
 public:
  MemoryFigures Read() override;
};

}  // namespace orbin
