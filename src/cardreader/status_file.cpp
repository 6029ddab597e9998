#include "cardreader/status_file.h"

#include "common/failure.h"
#include "platform/codepage.h"

namespace orbin {
namespace {

std::string BytesOrNothing(FileSystem& files) {
  return files.FileExists(kStatusFileName) ? files.ReadAll(kStatusFileName) : std::string();
}

}  // namespace

std::string ReadStatusFile(FileSystem& files) {
  if (!files.FileExists(kStatusFileName)) files.WriteWhole(kStatusFileName, "");
  return files.ReadAll(kStatusFileName);
}

void MarkStatusFile(FileSystem& files, std::int16_t position, const std::string& text) {
  if (position < 1) {
    throw Failure("Bad record number " + std::to_string(position) + " in \"" + kStatusFileName +
                  "\"");
  }
  std::string bytes = BytesOrNothing(files);
  const std::string mark = ToAnsi(text);
  const std::size_t from = static_cast<std::size_t>(position) - 1;
  if (bytes.size() < from + mark.size()) bytes.resize(from + mark.size(), '\0');
  bytes.replace(from, mark.size(), mark);
  files.WriteWhole(kStatusFileName, bytes);
}

}  // namespace orbin
