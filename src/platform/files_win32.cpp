#include "platform/files_win32.h"

#include <windows.h>

#include "common/failure.h"
#include "platform/wide_win32.h"

namespace orbin {
namespace {

std::wstring FullPathOf(const std::wstring& path) {
  DWORD n = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (n == 0) return path;
  std::wstring full(n, L'\0');
  n = GetFullPathNameW(path.c_str(), n, full.data(), nullptr);
  full.resize(n);
  return n ? full : path;
}

constexpr char kCannotOpen[] = "無法開啟檔案";
constexpr char kCannotRead[] = "無法讀取檔案";
constexpr char kCannotWrite[] = "無法寫入檔案";

// e.g. 無法寫入檔案「C:\work\orbin.txt」：存取被拒。
[[noreturn]] void ThrowFileFailure(const char* operation, const std::string& path, DWORD error) {
  throw Failure(FileFailureMessage(operation, Narrow(FullPathOf(Widen(path))), error));
}

class Handle {
 public:
  explicit Handle(HANDLE h) : h_(h) {}
  ~Handle() {
    if (h_ != INVALID_HANDLE_VALUE) CloseHandle(h_);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  HANDLE get() const { return h_; }
  bool valid() const { return h_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE h_;
};

std::optional<WIN32_FILE_ATTRIBUTE_DATA> FileAttributes(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(Widen(path).c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
  if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return std::nullopt;
  return data;
}

}  // namespace

std::string SystemErrorText(unsigned long error) {
  wchar_t* buffer = nullptr;
  DWORD n = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text = n ? std::wstring(buffer, n) : L"error " + std::to_wstring(error);
  if (buffer) LocalFree(buffer);
  while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' '))
    text.pop_back();
  return Narrow(text);
}

std::string FileFailureMessage(const std::string& operation, const std::string& full_path,
                               unsigned long error) {
  return operation + "「" + full_path + "」：" + SystemErrorText(error);
}

bool Win32FileSystem::FileExists(const std::string& path) { return FileAttributes(path).has_value(); }

std::optional<std::uint64_t> Win32FileSystem::FileLength(const std::string& path) {
  auto data = FileAttributes(path);
  if (!data) return std::nullopt;
  return (static_cast<std::uint64_t>(data->nFileSizeHigh) << 32) | data->nFileSizeLow;
}

std::optional<FileTime> Win32FileSystem::ModificationTime(const std::string& path) {
  auto data = FileAttributes(path);
  if (!data) return std::nullopt;
  FILETIME local;
  SYSTEMTIME t;
  if (!FileTimeToLocalFileTime(&data->ftLastWriteTime, &local) || !FileTimeToSystemTime(&local, &t))
    return std::nullopt;
  return FileTime{t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

std::string Win32FileSystem::ReadAll(const std::string& path) {
  Handle file(CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                          nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) ThrowFileFailure(kCannotOpen, path, GetLastError());
  std::string bytes;
  char buffer[65536];
  DWORD read = 0;
  for (;;) {
    if (!ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr))
      ThrowFileFailure(kCannotRead, path, GetLastError());
    if (read == 0) break;
    bytes.append(buffer, read);
  }
  return bytes;
}

void Win32FileSystem::WriteWhole(const std::string& path, const std::string& bytes) {
  // Write a temporary file beside the target, then move it over the target,
  // so a reader sees the old file or the new one, never half of it.
  const std::wstring target = Widen(path);
  const std::wstring temp = target + L".~" + std::to_wstring(GetCurrentProcessId());
  {
    Handle file(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) ThrowFileFailure(kCannotWrite, path, GetLastError());
    DWORD written = 0;
    if (!WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
        written != bytes.size() || !FlushFileBuffers(file.get())) {
      DWORD error = GetLastError();
      CloseHandle(file.get());
      DeleteFileW(temp.c_str());
      ThrowFileFailure(kCannotWrite, path, error);
    }
  }
  DWORD attributes = GetFileAttributesW(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
    DeleteFileW(temp.c_str());
    ThrowFileFailure(kCannotWrite, path, ERROR_ACCESS_DENIED);
  }
  if (!MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    DWORD error = GetLastError();
    DeleteFileW(temp.c_str());
    ThrowFileFailure(kCannotWrite, path, error);
  }
}

void Win32FileSystem::WriteAt(const std::string& path, std::uint64_t offset, const std::string& bytes) {
  // The main program may have the file open: share reading and writing, and
  // keep the file itself (no replacement), so its readers see the new bytes.
  Handle file(CreateFileW(Widen(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                          FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) ThrowFileFailure(kCannotWrite, path, GetLastError());
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size)) ThrowFileFailure(kCannotWrite, path, GetLastError());
  const std::uint64_t length = static_cast<std::uint64_t>(size.QuadPart);
  std::string data = bytes;
  std::uint64_t start = offset;
  if (length < offset) {  // the gap is written as zero bytes, not left to the file system
    data.insert(0, static_cast<std::size_t>(offset - length), '\0');
    start = length;
  }
  LARGE_INTEGER position{};
  position.QuadPart = static_cast<LONGLONG>(start);
  DWORD written = 0;
  if (!SetFilePointerEx(file.get(), position, nullptr, FILE_BEGIN) ||
      !WriteFile(file.get(), data.data(), static_cast<DWORD>(data.size()), &written, nullptr) ||
      written != data.size())
    ThrowFileFailure(kCannotWrite, path, GetLastError());
}

std::string Win32FileSystem::FullPath(const std::string& path) {
  return Narrow(FullPathOf(Widen(path)));
}

std::string Win32FileSystem::CurrentDirectory() {
  wchar_t buffer[MAX_PATH * 2];
  DWORD n = GetCurrentDirectoryW(MAX_PATH * 2, buffer);
  return Narrow(std::wstring_view(buffer, n));
}

}  // namespace orbin
