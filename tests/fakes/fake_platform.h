#pragma once
// In-memory stand-ins for the platform interfaces.
#include <map>
#include <set>
#include <tuple>
#include <vector>
#include <string>
#include <utility>

#include "common/failure.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/settings.h"

namespace orbin::testing {

// Files by path, as raw (ANSI) bytes.
class FakeFileSystem : public FileSystem {
 public:
  std::map<std::string, std::string> files;
  std::map<std::string, FileTime> times;
  std::string current_directory = "C:\\work";
  bool fail_writes = false;
  std::set<std::string> unreadable;  // exist, but reading them fails

  bool FileExists(const std::string& path) override { return files.count(path) > 0; }
  std::optional<std::uint64_t> FileLength(const std::string& path) override {
    auto it = files.find(path);
    if (it == files.end()) return std::nullopt;
    return it->second.size();
  }
  std::optional<FileTime> ModificationTime(const std::string& path) override {
    auto it = times.find(path);
    if (it == times.end()) return std::nullopt;
    return it->second;
  }
  std::string ReadAll(const std::string& path) override {
    auto it = files.find(path);
    if (it == files.end()) throw Failure("Cannot open \"" + path + "\": file not found");
    if (unreadable.count(path)) throw Failure("Cannot read \"" + path + "\": access denied");
    return it->second;
  }
  void WriteWhole(const std::string& path, const std::string& bytes) override {
    if (fail_writes) throw Failure("Cannot write \"" + path + "\": access denied");
    files[path] = bytes;
  }
  void WriteAt(const std::string& path, std::uint64_t offset, const std::string& bytes) override {
    if (fail_writes) throw Failure("Cannot write \"" + path + "\": access denied");
    std::string& file = files[path];
    if (file.size() < offset + bytes.size()) file.resize(offset + bytes.size(), '\0');
    file.replace(offset, bytes.size(), bytes);
    ++in_place_writes;
  }
  std::string CurrentDirectory() override { return current_directory; }
  std::string FullPath(const std::string& path) override {
    return path.find(':') != std::string::npos ? path : current_directory + "\\" + path;
  }
  int in_place_writes = 0;
};

// Settings by (path, section, key); values cut to 99 bytes as the platform
// read does for ASCII text.
class FakeSettings : public SettingsFile {
 public:
  std::map<std::tuple<std::string, std::string, std::string>, std::string> values;
  std::vector<std::tuple<std::string, std::string, std::string>> writes;  // key, value, path

  std::string Read(const std::string& section, const std::string& key,
                   const std::string& default_value, const std::string& path) override {
    auto it = values.find({path, section, key});
    std::string value = it == values.end() ? default_value : it->second;
    return value.substr(0, 99);
  }
  void Write(const std::string& section, const std::string& key, const std::string& value,
             const std::string& path) override {
    values[{path, section, key}] = value;
    writes.emplace_back(key, value, path);
  }
};

// A clock that moves only when told (or by `step_per_read` on each reading).
class FakeClock : public Clock {
 public:
  LocalTime now{2026, 12, 7, 10, 0, 0};
  int step_per_read_seconds = 0;
  int reads = 0;
  LocalTime Now() override {
    ++reads;
    LocalTime t = now;
    Advance(step_per_read_seconds);
    return t;
  }
  void Advance(int seconds) {
    std::int64_t s = now.second + now.minute * 60 + now.hour * 3600 + seconds;
    now.second = static_cast<int>(s % 60);
    now.minute = static_cast<int>(s / 60 % 60);
    now.hour = static_cast<int>(s / 3600);
  }
};

class CountingEventPump : public EventPump {
 public:
  int dispatches = 0;
  void DispatchPending() override { ++dispatches; }
};

}  // namespace orbin::testing
