#pragma once
// `prt2`, the printer settings window: the settings the main system prints
// with ("存檔" saves them, "load" reads them back), the printer list
// `Combo1` whose selection becomes the system default, and the two print
// buttons the start-up routine presses on the hidden window.
#include <string>
#include <vector>

#include "platform/form_win32.h"
#include "printing/printer_list_selection.h"
#include "printing/printer_platform_win32.h"
#include "printing/printer_settings.h"

namespace orbin {

class Prt2 final : public Form, public WindowCaption {
 public:
  // The window as its first reference finds it: created hidden, `Form_Load` run.
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
  Prt2() = default;
  int CheckState(int id) const;
  void SetCheckState(int id, int state);
  // The controls into `settings_` and back.
  void ReadControls();
  void ShowSettings();

  Win32PrinterPlatform platform_;
  PrinterListSelection selection_{platform_};
  PrinterSettings settings_;
};

}  // namespace orbin
