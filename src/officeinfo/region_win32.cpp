#include "officeinfo/region_win32.h"

#include "platform/run_guard_win32.h"
#include "platform/wide_win32.h"

namespace orbin {
namespace {

HRGN Handle(RegionPlatform::Region region) { return reinterpret_cast<HRGN>(region); }
RegionPlatform::Region Wrap(HRGN region) { return reinterpret_cast<RegionPlatform::Region>(region); }

}  // namespace

RegionPlatform::Region Win32RegionPlatform::CreateRect(int left, int top, int right, int bottom) {
  return Wrap(CreateRectRgn(left, top, right, bottom));
}

RegionPlatform::Region Win32RegionPlatform::CreateElliptic(int left, int top, int right,
                                                          int bottom) {
  return Wrap(CreateEllipticRgn(left, top, right, bottom));
}

RegionPlatform::Region Win32RegionPlatform::CreateRoundRect(int left, int top, int right,
                                                           int bottom, int corner_width,
                                                           int corner_height) {
  return Wrap(CreateRoundRectRgn(left, top, right, bottom, corner_width, corner_height));
}

void Win32RegionPlatform::CombineInto(Region target, Region other, Combine mode) {
  CombineRgn(Handle(target), Handle(target), Handle(other),
             mode == Combine::kUnion ? RGN_OR : RGN_DIFF);
}

void Win32RegionPlatform::Delete(Region region) { DeleteObject(Handle(region)); }

void Win32RegionPlatform::ApplyToWindow(Region region) {
  // The window owns the region from here on.
  SetWindowRgn(window_, Handle(region), TRUE);
}

void Win32RegionPlatform::ShowMessage(const std::string& text) {
  MessageBoxW(window_, Widen(text).c_str(), kProgramTitle, MB_OK);
}

}  // namespace orbin
