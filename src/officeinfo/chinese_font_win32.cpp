#include "officeinfo/chinese_font_win32.h"

#include <windows.h>

#include <initializer_list>

namespace orbin {
namespace {

// Kai (brush) faces, then Ming (printed) faces; the first of each list is
// the design face.
constexpr const wchar_t* kKaiFaces[] = {L"標楷體", L"DFKai-SB", L"AR PL UKai TW",
                                        L"AR PL UKai TW MBE", L"AR PL UKai HK", L"AR PL UKai CN"};
constexpr const wchar_t* kMingFaces[] = {
    L"新細明體",        L"PMingLiU",          L"細明體",         L"MingLiU",
    L"AR PL UMing TW", L"AR PL UMing TW MBE", L"AR PL UMing HK", L"AR PL UMing CN",
    L"微軟正黑體",      L"Microsoft JhengHei"};

int CALLBACK NoteFace(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<std::wstring*>(found) = font->lfFaceName;
  return 0;  // the first one is enough
}

// An installed face with the Big5 character set: `face`, or any when empty.
std::wstring InstalledBig5Face(const wchar_t* face) {
  LOGFONTW wanted{};
  wanted.lfCharSet = CHINESEBIG5_CHARSET;
  if (face) lstrcpynW(wanted.lfFaceName, face, LF_FACESIZE);
  std::wstring found;
  HDC screen = GetDC(nullptr);
  EnumFontFamiliesExW(screen, &wanted, &NoteFace, reinterpret_cast<LPARAM>(&found), 0);
  ReleaseDC(nullptr, screen);
  return found;
}

template <std::size_t N>
std::wstring PickFace(const wchar_t* const (&faces)[N], bool last_resort) {
  for (const wchar_t* face : faces) {
    std::wstring found = InstalledBig5Face(face);
    if (!found.empty()) return found;
  }
  return last_resort ? InstalledBig5Face(nullptr) : std::wstring();
}

std::wstring Choose(ChineseFontStyle style) {
  std::wstring face;
  if (style == ChineseFontStyle::kKai) face = PickFace(kKaiFaces, false);
  if (face.empty()) face = PickFace(kMingFaces, true);
  if (face.empty()) face = style == ChineseFontStyle::kKai ? kKaiFaces[0] : kMingFaces[0];
  return face;
}

}  // namespace

const std::wstring& ChineseFace(ChineseFontStyle style) {
  static const std::wstring kai = Choose(ChineseFontStyle::kKai);
  static const std::wstring ming = Choose(ChineseFontStyle::kMing);
  return style == ChineseFontStyle::kKai ? kai : ming;
}

}  // namespace orbin
