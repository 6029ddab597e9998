#pragma once
// The status monitor window `memfrm` as the platform shows it.
#include <string>

#include "statusmonitor/memory_figures.h"

namespace orbin {

class StatusMonitorView {
 public:
  virtual ~StatusMonitorView() = default;
  virtual void SetCaption(const std::string& caption) = 0;
  virtual void SetMemoryTexts(const MemoryTexts& texts) = 0;
  // The notification-area icon, so that a hidden window can be shown again
  // (double click) or quit (its pop-up menu).
  virtual void AddTrayIcon() = 0;
  virtual void Show() = 0;  // modeless
};

}  // namespace orbin
