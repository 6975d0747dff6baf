#include "actions/variables/file_io.h"

#include <algorithm>
#include <cstdint>
#include <optional>

#include "core/conventions.h"
#include "platform/buffers.h"
#include "platform/raii.h"

namespace {

DWORD ReadToEnd(HANDLE file, std::string& bytes) {
  bytes.clear();
  // One read of the size the file has now, then on to the end in case it grew meanwhile.
  LARGE_INTEGER size{};
  DWORD chunk = 1 << 16;
  if (GetFileSizeEx(file, &size) && size.QuadPart > 0 && size.QuadPart < (1 << 30))
    chunk = static_cast<DWORD>(size.QuadPart) + 1;
  while (true) {
    const size_t used = bytes.size();
    bytes.resize(used + chunk);
    DWORD read = 0;
    if (!ReadFile(file, bytes.data() + used, chunk, &read, nullptr)) {
      const DWORD error = GetLastError();
      bytes.clear();
      return error;
    }
    bytes.resize(used + read);
    // A short read of a disk file is its end.
    if (read < chunk) return ERROR_SUCCESS;
    chunk = 1 << 16;
  }
}

}  // namespace

DWORD ReadWholeFile(std::string_view path, std::string& bytes) {
  bytes.clear();
  const std::string name(path);
  // A device ("AUX", "COM1", "x\CON.txt") passes the attribute test like a file, but reading
  // one waits for a port or a console that may never send anything.
  if (IsDevicePath(name)) return ERROR_INVALID_NAME;
  const Handle file =
      FromCreateFile(CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file) return GetLastError();
  if (GetFileType(file.get()) != FILE_TYPE_DISK) return ERROR_INVALID_NAME;
  return ReadToEnd(file.get(), bytes);
}

FileBytes::FileBytes(std::string_view path, bool deleteOnClose) {
  const std::string name(path);
  const auto open = [&name](DWORD flags) {
    return FromCreateFile(CreateFileA(
        name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
        OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN | flags, nullptr));
  };
  if (deleteOnClose) {
    file_ = open(FILE_FLAG_DELETE_ON_CLOSE);
    deletesOnClose_ = static_cast<bool>(file_);
  }
  // Another program holding the file without sharing its deletion still lets it be read.
  if (!file_) file_ = open(0);
  if (!file_) return;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file_.get(), &size) || size.QuadPart == 0) return;
  if (static_cast<unsigned long long>(size.QuadPart) <= SIZE_MAX) {
    mapping_.reset(CreateFileMappingA(file_.get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
    if (mapping_) view_ = MapViewOfFile(mapping_.get(), FILE_MAP_READ, 0, 0, 0);
    if (view_) {
      text_ = std::string_view(static_cast<const char*>(view_), static_cast<size_t>(size.QuadPart));
      return;
    }
  }
  if (ReadToEnd(file_.get(), copy_) == ERROR_SUCCESS) text_ = copy_;
}

FileBytes::~FileBytes() {
  if (view_) UnmapViewOfFile(view_);
}

namespace {

// The target made absolute, in the form the wide calls take past MAX_PATH ("\\?\C:\..." or
// "\\?\UNC\server\share\..."): the temporary name beside a long target adds some forty
// characters, and that must not make a save fail that writing the target itself would not.
DWORD LongFormOf(const std::string& path, std::wstring& full) {
  const std::wstring wide = AnsiToWide(path);
  DWORD size = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
  for (int attempt = 0; attempt < 4 && size > 0; ++attempt) {
    full.assign(size, L'\0');
    const DWORD length = GetFullPathNameW(wide.c_str(), size, full.data(), nullptr);
    if (length == 0) break;
    if (length < size) {
      full.resize(length);
      // A device name ("AUX", "x\NUL.txt") comes back as "\\.\NAME": the device namespace,
      // where nothing of ours may be opened for writing.
      if (full.starts_with(L"\\\\.\\")) return ERROR_INVALID_NAME;
      if (full.starts_with(L"\\\\?\\")) return ERROR_SUCCESS;
      full = full.starts_with(L"\\\\") ? L"\\\\?\\UNC\\" + full.substr(2) : L"\\\\?\\" + full;
      return ERROR_SUCCESS;
    }
    size = length;
  }
  return wide.empty() ? ERROR_INVALID_NAME : GetLastError();
}

DWORD WriteAll(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size(), 1 << 24));
    DWORD written = 0;
    if (!WriteFile(file, bytes.data(), chunk, &written, nullptr)) return GetLastError();
    if (written == 0) return ERROR_WRITE_FAULT;
    bytes.remove_prefix(written);
  }
  return ERROR_SUCCESS;
}

// The temporary file, removed unless it was moved over the target.
class WideTempFile {
 public:
  explicit WideTempFile(std::wstring path) : path_(std::move(path)) {}
  WideTempFile(const WideTempFile&) = delete;
  WideTempFile& operator=(const WideTempFile&) = delete;
  ~WideTempFile() {
    if (!path_.empty()) DeleteFileW(path_.c_str());
  }
  const std::wstring& path() const { return path_; }
  void Release() { path_.clear(); }

 private:
  std::wstring path_;
};

// For a target that another program holds open without letting it be renamed over, but
// lets it be written: the content goes into the file itself. The room it needs is claimed
// before a byte of the old content changes, so a full disk leaves the old file whole.
DWORD OverwriteInPlace(const std::wstring& target, std::string_view bytes) {
  const Handle file =
      FromCreateFile(CreateFileW(target.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return GetLastError();
  LARGE_INTEGER old{}, size{}, start{};
  size.QuadPart = static_cast<LONGLONG>(bytes.size());
  if (!GetFileSizeEx(file.get(), &old)) return GetLastError();
  if (size.QuadPart > old.QuadPart) {
    if (!SetFilePointerEx(file.get(), size, nullptr, FILE_BEGIN) || !SetEndOfFile(file.get())) {
      const DWORD error = GetLastError();
      if (SetFilePointerEx(file.get(), old, nullptr, FILE_BEGIN)) SetEndOfFile(file.get());
      return error;
    }
  }
  if (!SetFilePointerEx(file.get(), start, nullptr, FILE_BEGIN)) return GetLastError();
  if (const DWORD error = WriteAll(file.get(), bytes)) return error;
  if (!SetEndOfFile(file.get()) || !FlushFileBuffers(file.get())) return GetLastError();
  return ERROR_SUCCESS;
}

bool RenameRefusedBySharing(DWORD error) {
  return error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION ||
         error == ERROR_LOCK_VIOLATION;
}

}  // namespace

DWORD WriteFileReplacing(std::string_view path, std::string_view bytes) {
  std::wstring target;
  if (const DWORD error = LongFormOf(std::string(path), target)) return error;
  // Overwriting in place would fail on a read-only file; a rename over it must not succeed
  // where that would not (Wine's rename replaces read-only files).
  const DWORD attributes = GetFileAttributesW(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
    return ERROR_ACCESS_DENIED;
  const auto cut = target.find_last_of(L'\\');
  if (cut == std::wstring::npos || cut + 1 == target.size()) return ERROR_INVALID_NAME;
  const std::wstring folder = target.substr(0, cut + 1);
  // A name of our own, created exclusively: GetTempFileName would create and close the file
  // only for it to be opened again, and each of those costs a trip to the file system.
  std::optional<WideTempFile> temp;
  Handle file;
  for (int attempt = 0; attempt < 3 && !file; ++attempt) {
    std::wstring name = folder + L"~kx" + AnsiToWide(NewGuidText()) + L".tmp";
    file = FromCreateFile(CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file)
      temp.emplace(std::move(name));
    else if (GetLastError() != ERROR_FILE_EXISTS)
      return GetLastError();
  }
  if (!file) return ERROR_FILE_EXISTS;
  if (const DWORD error = WriteAll(file.get(), bytes)) return error;
  // A close can still fail to store data the system held back (a full network share).
  if (!CloseHandle(file.release())) return GetLastError();
  if (MoveFileExW(temp->path().c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING)) {
    temp->Release();
    return ERROR_SUCCESS;
  }
  const DWORD error = GetLastError();
  const DWORD now = GetFileAttributesW(target.c_str());
  if (!RenameRefusedBySharing(error) || now == INVALID_FILE_ATTRIBUTES ||
      (now & FILE_ATTRIBUTE_DIRECTORY))
    return error;
  return OverwriteInPlace(target, bytes);
}
