#pragma once
// `prt2`, the printer settings window: the settings the main system prints
// with ("存檔" saves them, "load" reads them back), the printer list
// `Combo1` whose selection becomes the system default, and the two print
// buttons the start-up routine presses on the hidden window.
//
// The start-up routine uses the hidden window for its printer list and its
// print buttons, none of which needs the window itself; the window and its
// controls are created only when something shows them or works with a
// control, so a print job or the printer list costs no window.
#include <string>
#include <vector>

#include "platform/form_win32.h"
#include "printing/printer_combo_list.h"
#include "printing/printer_list_selection.h"
#include "printing/printer_platform_win32.h"
#include "printing/printer_settings.h"

namespace orbin {

class Prt2 final : public Form, public WindowCaption {
 public:
  // The window as its first reference finds it: hidden. Its load
  // (`Form_Load`) runs when the window is created.
  static Prt2& Loaded();

  void Show();
  // Unloading runs `Form_Unload`, which ends the program.
  [[noreturn]] void Unload();

  // `Combo1` as the start-up routine uses it.
  std::string Combo1Text() const;
  std::vector<std::string> Combo1Entries() const;
  void Combo1InsertItem(const std::string& name, int index);
  // Selecting from code runs `Combo1_Click`, as a user's selection does.
  void SetCombo1ListIndex(int index);

  // Handlers; pressing a button from code calls its handler.
  void Form_Load();
  [[noreturn]] void Form_Unload();
  void Combo1_Click();
  [[noreturn]] void Command1_Click();
  [[noreturn]] void Command2_Click();
  // "存檔": ends the program once every key is written; returns when the
  // person cancels a refused write.
  void Command3_Click();
  void Command4_Click();

  void SetCaption(const std::string& caption) override;

 protected:
  void OnCloseRequest() override { Form_Unload(); }
  void OnCommand(int id, int code, HWND control) override;

 private:
  Prt2();
  // Creates the window and its controls the first time they are needed.
  void EnsureWindow();
  int CheckState(int id) const;
  void SetCheckState(int id, int state);
  // The controls into `settings_` and back.
  void ReadControls();
  void ShowSettings();

  Win32PrinterPlatform platform_;
  PrinterListSelection selection_{platform_};
  PrinterSettings settings_;
  // `Combo1` until the window exists; the control takes it over then.
  // Read lazily, hence mutable.
  mutable PrinterComboList printers_;
  std::string caption_;  // set before the window exists
};

}  // namespace orbin
