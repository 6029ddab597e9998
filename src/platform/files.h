#pragma once
// The file system as the jobs see it. Paths are UTF-8 Windows paths
// (relative paths are resolved against the current working directory).
#include <cstdint>
#include <optional>
#include <string>

namespace orbin {

struct FileTime {  // local time
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // True when the file's length can be read (an empty file exists).
  virtual bool FileExists(const std::string& path) = 0;
  // The file's length in bytes, or nothing when it cannot be read.
  virtual std::optional<std::uint64_t> FileLength(const std::string& path) = 0;
  virtual std::optional<FileTime> ModificationTime(const std::string& path) = 0;

  // The whole file as bytes. Throws Failure naming the file and the reason.
  virtual std::string ReadAll(const std::string& path) = 0;
  // Replaces the file with `bytes` whole or not at all (temporary file, then
  // rename). Throws Failure naming the file and the reason.
  virtual void WriteWhole(const std::string& path, const std::string& bytes) = 0;
  // Writes `bytes` into the file at byte `offset`, in place: the file is
  // created when missing, a gap before the offset is filled with zero bytes,
  // and other programs may hold the file open meanwhile. Throws Failure
  // naming the file and the reason.
  virtual void WriteAt(const std::string& path, std::uint64_t offset, const std::string& bytes) = 0;

  virtual std::string CurrentDirectory() = 0;
  // `path` made absolute against the current directory, for messages.
  virtual std::string FullPath(const std::string& path) = 0;
};

}  // namespace orbin
