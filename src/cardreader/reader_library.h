#pragma once
// The NHI IC-card reader library "cshis.dll" as the jobs see it. The Win32
// binding loads the library by name at the first call and binds each entry
// point by name when it is first called; arguments and results are 16-bit.
// Header-only, so the status monitor can use it without the reader run.
#include <cstdint>
#include <string>

#include "common/failure.h"

namespace orbin {

inline constexpr char kReaderLibraryName[] = "cshis.dll";
// The number stays 53 ("file not found") whatever kept the library from
// loading: the status monitor shows it and callers rely on it. The message
// says the real reason.
inline constexpr int kReaderLibraryMissing = 53;
inline constexpr int kReaderEntryPointMissing = 453;  // entry point not found
inline constexpr std::int16_t kReaderCardType = 2;

// A call that could not be made at all. `number()` is the run-time error
// number the status monitor shows (53 or 453).
class ReaderLibraryFailure : public Failure {
 public:
  // `reason`: why the library could not be loaded, in words.
  static ReaderLibraryFailure LibraryMissing(const std::string& entry_point,
                                             const std::string& reason) {
    return ReaderLibraryFailure(kReaderLibraryMissing, "無法載入讀卡機程式庫（呼叫 " + entry_point +
                                                           " 時）：" + reason);
  }
  static ReaderLibraryFailure EntryPointMissing(const std::string& entry_point,
                                                const std::string& library_path) {
    return ReaderLibraryFailure(kReaderEntryPointMissing, "讀卡機程式庫「" + library_path +
                                                              "」裡找不到進入點 " + entry_point);
  }
  int number() const { return number_; }

 private:
  ReaderLibraryFailure(int number, const std::string& what) : Failure(what), number_(number) {}
  int number_;
};

// The four entry points the program calls. Each may throw
// ReaderLibraryFailure.
class ReaderLibrary {
 public:
  virtual ~ReaderLibrary() = default;
  // 0-based port index (0 = COM1 .. 3 = COM4); 0 when the reader is open.
  virtual std::int16_t csOpenCom(std::int16_t port_index) = 0;
  // Card type is always kReaderCardType.
  virtual std::int16_t hisGetCardStatus(std::int16_t card_type) = 0;
  // 0 when the SAM was authenticated with the data centre.
  virtual std::int16_t csVerifySAMDC() = 0;
  // The result is ignored by every caller.
  virtual std::int16_t csCloseCom() = 0;
};

}  // namespace orbin
