#pragma once
// "cshis.dll" bound at run time: the library is loaded by name at the first
// call (and again at later calls while it cannot be found), each entry point
// looked up by name when it is first called. Nothing is linked at build time.
#include <windows.h>

#include <string>

#include "cardreader/reader_library.h"

namespace orbin {

class Win32ReaderLibrary : public ReaderLibrary {
 public:
  Win32ReaderLibrary() = default;
  ~Win32ReaderLibrary() override;
  Win32ReaderLibrary(const Win32ReaderLibrary&) = delete;
  Win32ReaderLibrary& operator=(const Win32ReaderLibrary&) = delete;

  std::int16_t csOpenCom(std::int16_t port_index) override;
  std::int16_t hisGetCardStatus(std::int16_t card_type) override;
  std::int16_t csVerifySAMDC() override;
  std::int16_t csCloseCom() override;

 private:
  // The entry point's address; throws ReaderLibraryFailure (53, 453).
  FARPROC Bind(const char* name, FARPROC& slot);
  static std::string WhyNotLoaded(DWORD error);
  std::string LoadedPath() const;

  HMODULE library_ = nullptr;
  FARPROC open_ = nullptr;
  FARPROC status_ = nullptr;
  FARPROC verify_ = nullptr;
  FARPROC close_ = nullptr;
};

}  // namespace orbin
