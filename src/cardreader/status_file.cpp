#include "cardreader/status_file.h"

#include "common/failure.h"
#include "platform/codepage.h"

namespace orbin {

std::string ReadStatusFile(FileSystem& files) {
  if (!files.FileExists(kStatusFileName)) files.WriteAt(kStatusFileName, 0, "");
  return files.ReadAll(kStatusFileName);
}

void MarkStatusFile(FileSystem& files, std::int16_t position, const std::string& text) {
  if (position < 1) {
    throw Failure("狀態檔「" + files.FullPath(kStatusFileName) + "」沒有第 " +
                  std::to_string(position) + " 個位元組可寫");
  }
  files.WriteAt(kStatusFileName, static_cast<std::uint64_t>(position) - 1, ToAnsi(text));
}

}  // namespace orbin
