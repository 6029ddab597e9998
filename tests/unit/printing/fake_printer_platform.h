#pragma once
// A printer platform in memory that records every call in order.
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "printing/printer_platform.h"

namespace orbin::testing {

class FakePrinterPlatform : public PrinterPlatform {
 public:
  VersionRecord version{10, 0, 19045, kPlatformWindowsNt};
  std::map<std::pair<std::string, std::string>, std::string> profile;  // (section, key)
  bool refuse_profile_write = false;
  // Spooler: the printers that can be opened, with their level-5 records.
  std::map<std::string, PrinterInfo5> spooler;
  bool refuse_get_info5 = false;
  bool refuse_set_info5 = false;
  std::vector<PrinterInfo5> records_set;
  std::vector<std::string> calls;

  VersionRecord Version() override {
    calls.push_back("version");
    return version;
  }
  std::string GetProfileString(const std::string& section, const std::string& key,
                               const std::string& default_value,
                               std::size_t buffer_chars) override {
    calls.push_back("get " + section + "/" + key + " " + std::to_string(buffer_chars));
    auto it = profile.find({section, key});
    return it == profile.end() ? default_value : it->second;
  }
  bool WriteProfileString(const std::string& section, const std::string& key,
                          const std::string& value) override {
    calls.push_back("write " + section + "/" + key + "=" + value);
    if (refuse_profile_write) return false;
    profile[{section, key}] = value;
    return true;
  }
  void BroadcastSettingsChange(const std::string& section) override {
    calls.push_back("broadcast " + section);
  }
  std::unique_ptr<OpenedPrinter> OpenPrinter(const std::string& device_name) override {
    calls.push_back("open " + device_name);
    if (!spooler.count(device_name)) return nullptr;
    return std::make_unique<Printer>(*this, device_name);
  }

 private:
  class Printer : public OpenedPrinter {
   public:
    Printer(FakePrinterPlatform& platform, std::string name)
        : platform_(platform), name_(std::move(name)) {}
    ~Printer() override { platform_.calls.push_back("close " + name_); }
    std::optional<PrinterInfo5> GetInfo5() override {
      platform_.calls.push_back("get5");
      if (platform_.refuse_get_info5) return std::nullopt;
      return platform_.spooler.at(name_);
    }
    bool SetInfo5(const PrinterInfo5& info) override {
      platform_.calls.push_back("set5");
      if (platform_.refuse_set_info5) return false;
      platform_.records_set.push_back(info);
      platform_.spooler[name_] = info;
      return true;
    }

   private:
    FakePrinterPlatform& platform_;
    std::string name_;
  };
};

}  // namespace orbin::testing
