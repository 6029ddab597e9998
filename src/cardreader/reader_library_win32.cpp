#include "cardreader/reader_library_win32.h"

#include "platform/files_win32.h"
#include "platform/wide_win32.h"

namespace orbin {
namespace {

// The library's calling convention: __stdcall on 32-bit (WINAPI; the only
// convention on 64-bit), 16-bit arguments and results.
using ShortOfShort = short(WINAPI*)(short);
using ShortOfNothing = short(WINAPI*)();

// GetProcAddress gives a generic function address; the entry point's own
// type is known by name.
template <typename Function>
Function As(FARPROC address) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(address));
}

}  // namespace

Win32ReaderLibrary::~Win32ReaderLibrary() {
  if (library_) FreeLibrary(library_);
}

FARPROC Win32ReaderLibrary::Bind(const char* name, FARPROC& slot) {
  if (slot) return slot;
  // The library's own name in the ANSI call, searched the usual way (the
  // program's folder first, then the current directory and the path).
  if (!library_) library_ = LoadLibraryA(kReaderLibraryName);
  if (!library_) throw ReaderLibraryFailure::LibraryMissing(name, WhyNotLoaded(GetLastError()));
  slot = GetProcAddress(library_, name);
  if (!slot) throw ReaderLibraryFailure::EntryPointMissing(name, LoadedPath());
  return slot;
}

// "File not found" alone would send a support call the wrong way when the
// file is there but is a 64-bit or damaged one, or needs a library that is
// missing.
std::string Win32ReaderLibrary::WhyNotLoaded(DWORD error) {
  wchar_t found[MAX_PATH];
  const DWORD n = SearchPathW(nullptr, Widen(kReaderLibraryName).c_str(), nullptr, MAX_PATH, found,
                              nullptr);
  const std::string reason = SystemErrorText(error);
  if (n == 0 || n >= MAX_PATH)
    return "找不到檔案「" + std::string(kReaderLibraryName) + "」：" + reason;
  const std::string path = Narrow(std::wstring_view(found, n));
  switch (error) {
    case ERROR_MOD_NOT_FOUND:
      return "「" + path + "」存在，但它需要的另一個程式庫找不到：" + reason;
    case ERROR_BAD_EXE_FORMAT:
      return "「" + path + "」不是這個程式能用的 " + std::to_string(sizeof(void*) * 8) +
             " 位元程式庫，可能是別的版本或檔案已損毀：" + reason;
    default:
      return "「" + path + "」：" + reason;
  }
}

std::string Win32ReaderLibrary::LoadedPath() const {
  wchar_t path[MAX_PATH];
  const DWORD n = GetModuleFileNameW(library_, path, MAX_PATH);
  return n ? Narrow(std::wstring_view(path, n)) : std::string(kReaderLibraryName);
}

std::int16_t Win32ReaderLibrary::csOpenCom(std::int16_t port_index) {
  return As<ShortOfShort>(Bind("csOpenCom", open_))(port_index);
}

std::int16_t Win32ReaderLibrary::hisGetCardStatus(std::int16_t card_type) {
  return As<ShortOfShort>(Bind("hisGetCardStatus", status_))(card_type);
}

std::int16_t Win32ReaderLibrary::csVerifySAMDC() {
  return As<ShortOfNothing>(Bind("csVerifySAMDC", verify_))();
}

std::int16_t Win32ReaderLibrary::csCloseCom() {
  return As<ShortOfNothing>(Bind("csCloseCom", close_))();
}

}  // namespace orbin
