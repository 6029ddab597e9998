#include "treatment/entry_captions.h"

namespace orbin {

std::string EntryCaption(int check1, bool text_empty, bool items_empty,
                         const std::string& shortcut_list) {
  if (check1 == 0) return kCaptionPressSpace + shortcut_list;
  if (text_empty && !items_empty) return kCaptionEnterWhenDone + shortcut_list;
  return kCaptionEnterSites + shortcut_list;
}

}  // namespace orbin
