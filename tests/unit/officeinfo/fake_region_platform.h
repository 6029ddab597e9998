#pragma once
// Records the region calls as text; regions are numbered from 1 in order of
// creation.
#include <string>
#include <vector>

#include "officeinfo/region_builder.h"

namespace orbin::testing {

class FakeRegionPlatform : public RegionPlatform {
 public:
  std::vector<std::string> log;

  Region CreateRect(int l, int t, int r, int b) override { return Add("rect", {l, t, r, b}); }
  Region CreateElliptic(int l, int t, int r, int b) override { return Add("ellipse", {l, t, r, b}); }
  Region CreateRoundRect(int l, int t, int r, int b, int cw, int ch) override {
    return Add("roundrect", {l, t, r, b, cw, ch});
  }
  void CombineInto(Region target, Region other, Combine mode) override {
    log.push_back(std::string(mode == Combine::kUnion ? "or " : "diff ") + Name(target) + " " +
                  Name(other));
  }
  void Delete(Region region) override { log.push_back("delete " + Name(region)); }
  void ApplyToWindow(Region region) override { log.push_back("apply " + Name(region)); }
  void ShowMessage(const std::string& text) override { log.push_back("message " + text); }

 private:
  Region created_ = 0;
  static std::string Name(Region region) { return "#" + std::to_string(region); }
  Region Add(const char* kind, std::vector<int> values) {
    std::string entry = Name(++created_) + " " + kind;
    for (int v : values) entry += " " + std::to_string(v);
    log.push_back(entry);
    return created_;
  }
};

}  // namespace orbin::testing
