#pragma once
// The entry window's captions: the window caption tells which format is on
// and carries the shortcut-letter list (the label that holds the list lies
// below the visible area).
#include <string>

namespace orbin {

inline constexpr char kCaptionEnterSites[] = "輸入治療 部位項目 ";
inline constexpr char kCaptionPressSpace[] = "按(空白鍵)後為多項輸入格式 ";
inline constexpr char kCaptionEnterWhenDone[] = "(完成後按Enter)或(繼續輸入)";

// The caption for the format flag (Check1), whether the text box and the
// accumulated items are empty, and the shortcut list.
std::string EntryCaption(int check1, bool text_empty, bool items_empty,
                         const std::string& shortcut_list);

}  // namespace orbin
