#pragma once
// A reader library that plays back scripted results and logs each call.
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "cardreader/reader_library.h"

namespace orbin::testing {

class FakeReaderLibrary : public ReaderLibrary {
 public:
  explicit FakeReaderLibrary(std::vector<std::string>& log) : log_(log) {}

  // Results in call order; 0 once a script runs out.
  std::deque<std::int16_t> open, status, verify;
  std::optional<int> failure;  // 53 or 453: every call fails that way
  bool close_fails = false;

  std::int16_t csOpenCom(std::int16_t index) override {
    return Call("csOpenCom(" + std::to_string(index) + ")", open, failure);
  }
  std::int16_t hisGetCardStatus(std::int16_t type) override {
    return Call("hisGetCardStatus(" + std::to_string(type) + ")", status, failure);
  }
  std::int16_t csVerifySAMDC() override { return Call("csVerifySAMDC()", verify, failure); }
  std::int16_t csCloseCom() override {
    std::deque<std::int16_t> none;
    return Call("csCloseCom()", none, close_fails ? kReaderEntryPointMissing : failure);
  }

 private:
  std::int16_t Call(const std::string& call, std::deque<std::int16_t>& script,
                    std::optional<int> fails) {
    log_.push_back(call);
    if (fails == kReaderLibraryMissing)
      throw ReaderLibraryFailure::LibraryMissing(call, "找不到檔案「cshis.dll」");
    if (fails) throw ReaderLibraryFailure::EntryPointMissing(call, "C:\\work\\cshis.dll");
    if (script.empty()) return 0;
    std::int16_t result = script.front();
    script.pop_front();
    return result;
  }
  std::vector<std::string>& log_;
};

}  // namespace orbin::testing
