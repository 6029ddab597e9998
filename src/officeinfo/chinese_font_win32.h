#pragma once
// The window's faces exist on the practices' PCs but not everywhere (an
// English Windows, Wine): a missing face falls back to an installed face of
// the same style that has the traditional Chinese glyphs.
#include <string>

namespace orbin {

enum class ChineseFontStyle { kKai, kMing };

// The first installed face of the style, starting with the design face;
// otherwise any face carrying the Big5 character set; otherwise the design
// face itself (the font mapper then does what it can).
const std::wstring& ChineseFace(ChineseFontStyle style);

}  // namespace orbin
