#pragma once
#include "platform/files.h"

namespace orbin {

// The file system through the wide Win32 file calls.
class Win32FileSystem : public FileSystem {
 public:
  bool FileExists(const std::string& path) override;
  std::optional<std::uint64_t> FileLength(const std::string& path) override;
  std::optional<FileTime> ModificationTime(const std::string& path) override;
  std::string ReadAll(const std::string& path) override;
  void WriteWhole(const std::string& path, const std::string& bytes) override;
  void WriteAt(const std::string& path, std::uint64_t offset, const std::string& bytes) override;
  std::string CurrentDirectory() override;
  std::string FullPath(const std::string& path) override;
};

// The system's text for a Win32 error code, without the trailing line end.
std::string SystemErrorText(unsigned long error);

// What the error box says of a file that could not be used: the operation,
// the file's full path and the system's reason.
std::string FileFailureMessage(const std::string& operation, const std::string& full_path,
                               unsigned long error);

}  // namespace orbin
