#pragma once
// Changing the process's current drive and directory (the reader run started
// as "chg2eng" works in the backup folder). Both throw Failure when the
// drive or directory cannot be made current.
#include <string>

namespace orbin {

class WorkingDirectory {
 public:
  virtual ~WorkingDirectory() = default;
  virtual void ChangeDrive(const std::string& drive) = 0;  // "c:"
  virtual void ChangeDirectory(const std::string& directory) = 0;
};

}  // namespace orbin
