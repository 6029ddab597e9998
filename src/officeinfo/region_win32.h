#pragma once
// The window region through the gdi32 region calls and SetWindowRgn.
#include <windows.h>

#include "officeinfo/region_builder.h"

namespace orbin {

class Win32RegionPlatform : public RegionPlatform {
 public:
  explicit Win32RegionPlatform(HWND window) : window_(window) {}

  Region CreateRect(int left, int top, int right, int bottom) override;
  Region CreateElliptic(int left, int top, int right, int bottom) override;
  Region CreateRoundRect(int left, int top, int right, int bottom, int corner_width,
                         int corner_height) override;
  void CombineInto(Region target, Region other, Combine mode) override;
  void Delete(Region region) override;
  void ApplyToWindow(Region region) override;
  void ShowMessage(const std::string& text) override;

 private:
  HWND window_;
};

}  // namespace orbin
