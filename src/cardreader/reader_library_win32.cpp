#include "cardreader/reader_library_win32.h"

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
  if (!library_) throw ReaderLibraryFailure::LibraryMissing(name);
  slot = GetProcAddress(library_, name);
  if (!slot) throw ReaderLibraryFailure::EntryPointMissing(name);
  return slot;
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
