#include "platform/system_libraries_win32.h"

#include <string>

#include "common/failure.h"
#include "platform/files_win32.h"
#include "platform/wide_win32.h"

namespace orbin {
namespace {

// Loads `file` by name (the usual search, which finds the system's own) and
// binds entry points of it by name. `description` names the library in the
// error box, e.g. 無法載入印表機程式庫「winspool.drv」：<the system's reason>
class Binder {
 public:
  Binder(const wchar_t* file, const char* description) : file_(file), description_(description) {
    module_ = LoadLibraryW(file);
    if (!module_) throw Failure("無法載入" + Named() + "：" + SystemErrorText(GetLastError()));
  }

  // GetProcAddress gives a generic function address; the entry point's own
  // type comes from the library's header, through the record's field.
  template <typename Function>
  void operator()(const char* name, Function& entry) {
    entry = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module_, name)));
    if (!entry) throw Failure(Named() + "裡找不到進入點 " + name);
  }

 private:
  std::string Named() const { return description_ + ("「" + Narrow(file_) + "」"); }

  const wchar_t* file_;
  const char* description_;
  HMODULE module_;
};

PrinterLibrary BindPrinterLibrary() {
  Binder bind(L"winspool.drv", "印表機程式庫");
  PrinterLibrary library;
  bind("OpenPrinterA", library.OpenPrinterA);
  bind("OpenPrinterW", library.OpenPrinterW);
  bind("ClosePrinter", library.ClosePrinter);
  bind("GetPrinterA", library.GetPrinterA);
  bind("SetPrinterA", library.SetPrinterA);
  bind("EnumPrintersW", library.EnumPrintersW);
  bind("GetDefaultPrinterW", library.GetDefaultPrinterW);
  bind("DocumentPropertiesW", library.DocumentPropertiesW);
  return library;
}

ShellLibrary BindShellLibrary() {
  Binder bind(L"shell32.dll", "殼層程式庫");
  ShellLibrary library;
  bind("Shell_NotifyIconW", library.Shell_NotifyIconW);
  bind("ShellExecuteW", library.ShellExecuteW);
  return library;
}

}  // namespace

// A static whose initialisation throws is initialised again at the next call.
const PrinterLibrary& Spooler() {
  static const PrinterLibrary library = BindPrinterLibrary();
  return library;
}

const ShellLibrary& Shell() {
  static const ShellLibrary library = BindShellLibrary();
  return library;
}

}  // namespace orbin
