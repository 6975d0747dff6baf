#include "platform/files.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "platform/buffers.h"

namespace {

// A path as the wide calls take it, and as failure texts name it.
struct Resolved {
  std::wstring wide;  // "\\?\C:\..." or "\\?\UNC\server\share\..."
  std::string full;   // the full path in the ANSI code page
  DWORD error = ERROR_SUCCESS;
  bool device = false;
};

bool StartsWithNoCase(std::wstring_view text, std::wstring_view prefix) {
  return text.size() >= prefix.size() &&
         CompareStringOrdinal(text.data(), static_cast<int>(prefix.size()), prefix.data(),
                              static_cast<int>(prefix.size()), TRUE) == CSTR_EQUAL;
}

bool IsDriveRoot(std::wstring_view path) {
  return path.size() >= 3 && path[1] == L':' && path[2] == L'\\' &&
         ((path[0] >= L'A' && path[0] <= L'Z') || (path[0] >= L'a' && path[0] <= L'z'));
}

Resolved Resolve(std::string_view path) {
  Resolved resolved;
  resolved.full = std::string(path);
  // CreateFile's answer for an empty name; GetFullPathName would call it a bad parameter.
  if (path.empty()) {
    resolved.error = ERROR_PATH_NOT_FOUND;
    return resolved;
  }
  const std::wstring given = AnsiToWide(path);
  std::wstring full;
  if (StartsWithNoCase(given, L"\\\\?\\")) {
    full = given;  // taken as written, as the system does
  } else if (const auto made = FullPathOf(given)) {
    full = *made;
  } else {
    resolved.error = GetLastError();
    return resolved;
  }
  // GetFullPathName turns a device name ("AUX", "x\NUL.txt") into "\\.\NAME". Below "\\?\"
  // only a drive or "UNC\" is a file path: "\\?\PhysicalDrive0" is the disk itself.
  const std::wstring_view rest = std::wstring_view(full).substr(std::min<size_t>(4, full.size()));
  if (StartsWithNoCase(full, L"\\\\?\\")) {
    if (IsDriveRoot(rest)) {
      resolved.wide = full;
      resolved.full = WideToAnsi(rest);
    } else if (StartsWithNoCase(rest, L"UNC\\")) {
      resolved.wide = full;
      resolved.full = "\\\\" + WideToAnsi(rest.substr(4));
    } else {
      resolved.device = true;
    }
  } else if (StartsWithNoCase(full, L"\\\\.\\")) {
    resolved.device = true;
    resolved.full = WideToAnsi(full);
  } else if (StartsWithNoCase(full, L"\\\\")) {
    resolved.wide = L"\\\\?\\UNC\\" + full.substr(2);
    resolved.full = WideToAnsi(full);
  } else {
    resolved.wide = L"\\\\?\\" + full;
    resolved.full = WideToAnsi(full);
  }
  if (resolved.device) resolved.error = ERROR_INVALID_NAME;
  return resolved;
}

FileFailure Failure(const Resolved& resolved, DWORD code, bool creating) {
  return {code, resolved.full, creating, resolved.device};
}

DWORD AttributesOf(const Resolved& resolved) {
  return resolved.error ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(resolved.wide.c_str());
}

DWORD WriteAllTo(HANDLE file, const void* data, std::size_t size) {
  const auto* bytes = static_cast<const char*>(data);
  while (size > 0) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size, 1 << 24));
    DWORD written = 0;
    if (!WriteFile(file, bytes, chunk, &written, nullptr)) return GetLastError();
    if (written == 0) return ERROR_WRITE_FAULT;
    bytes += written;
    size -= written;
  }
  return ERROR_SUCCESS;
}

DWORD ReadPieceFrom(HANDLE file, void* buffer, DWORD size, DWORD& filled) {
  filled = 0;
  while (filled < size) {
    DWORD read = 0;
    if (!ReadFile(file, static_cast<char*>(buffer) + filled, size - filled, &read, nullptr))
      return GetLastError();
    if (read == 0) break;
    filled += read;
  }
  return ERROR_SUCCESS;
}

DWORD ReadToEndFrom(HANDLE file, std::string& bytes) {
  bytes.clear();
  // One read of the size the file has now, then on to the end in case it grew meanwhile.
  LARGE_INTEGER size{};
  DWORD chunk = 1 << 16;
  if (GetFileSizeEx(file, &size) && size.QuadPart > 0 && size.QuadPart < (1 << 30))
    chunk = static_cast<DWORD>(size.QuadPart) + 1;
  for (;;) {
    const size_t used = bytes.size();
    bytes.resize(used + chunk);
    DWORD read = 0;
    const DWORD error = ReadPieceFrom(file, bytes.data() + used, chunk, read);
    bytes.resize(used + read);
    if (error) {
      bytes.clear();
      return error;
    }
    if (read < chunk) return ERROR_SUCCESS;
    chunk = 1 << 16;
  }
}

}  // namespace

std::optional<std::wstring> FullPathOf(const std::wstring& path) {
  return CallWithGrowingBuffer<wchar_t>([&](wchar_t* buffer, DWORD size) {
    return GetFullPathNameW(path.c_str(), size, buffer, nullptr);
  });
}

PathKind KindOf(std::string_view path) {
  const Resolved resolved = Resolve(path);
  if (resolved.device) return PathKind::kDevice;
  const DWORD attributes = AttributesOf(resolved);
  if (attributes == INVALID_FILE_ATTRIBUTES) return PathKind::kMissing;
  return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? PathKind::kFolder : PathKind::kFile;
}

bool FileExists(std::string_view path) {
  const PathKind kind = KindOf(path);
  return kind == PathKind::kFile || kind == PathKind::kDevice;
}

bool FolderExists(std::string_view path) { return KindOf(path) == PathKind::kFolder; }

FileFailure RefuseDevice(std::string_view path, bool creating) {
  const Resolved resolved = Resolve(path);
  if (!resolved.device) return {};
  return Failure(resolved, resolved.error, creating);
}

FileFailure FileSize(std::string_view path, std::uint64_t& size) {
  size = 0;
  const Resolved resolved = Resolve(path);
  if (resolved.error) return Failure(resolved, resolved.error, false);
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(resolved.wide.c_str(), GetFileExInfoStandard, &data))
    return Failure(resolved, GetLastError(), false);
  size = (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
  return {};
}

DWORD File::ReadPiece(void* buffer, DWORD size, DWORD& filled) const {
  return ReadPieceFrom(handle_.get(), buffer, size, filled);
}

DWORD File::Write(const void* data, std::size_t size) const {
  return WriteAllTo(handle_.get(), data, size);
}

namespace {

FileFailure Open(std::string_view path, DWORD access, DWORD share, bool change, File& file) {
  const Resolved resolved = Resolve(path);
  if (resolved.error) return Failure(resolved, resolved.error, false);
  const DWORD attributes = AttributesOf(resolved);
  // A folder opens with an access-denied answer on Windows; some systems open it as a file.
  const DWORD refused = FILE_ATTRIBUTE_DIRECTORY | (change ? FILE_ATTRIBUTE_READONLY : DWORD{0});
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & refused))
    return Failure(resolved, ERROR_ACCESS_DENIED, false);
  Handle handle = FromCreateFile(CreateFileW(resolved.wide.c_str(), access, share, nullptr,
                                             OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!handle) return Failure(resolved, GetLastError(), false);
  file = File(std::move(handle), resolved.full);
  return {};
}

}  // namespace

FileFailure OpenForRead(std::string_view path, Sharing sharing, File& file) {
  const DWORD share = sharing == Sharing::kNone ? 0 : FILE_SHARE_READ | FILE_SHARE_WRITE;
  return Open(path, GENERIC_READ, share, false, file);
}

FileFailure OpenForChange(std::string_view path, File& file) {
  return Open(path, GENERIC_READ | GENERIC_WRITE, 0, true, file);
}

FileFailure ReadAll(std::string_view path, std::string& bytes) {
  bytes.clear();
  File file;
  if (FileFailure failure = OpenForRead(path, Sharing::kReadWrite, file)) return failure;
  if (const DWORD error = ReadToEndFrom(file.get(), bytes))
    return {error, file.path(), false, false};
  return {};
}

namespace {

class HandleSink final : public ByteSink {
 public:
  explicit HandleSink(HANDLE file) : file_(file) {}
  bool Put(const void* data, std::size_t size) override {
    if (!error_) error_ = WriteAllTo(file_, data, size);
    return !error_;
  }
  DWORD error() const { return error_; }

 private:
  HANDLE file_;
  DWORD error_ = ERROR_SUCCESS;
};

class CountingSink final : public ByteSink {
 public:
  bool Put(const void*, std::size_t size) override {
    size_ += size;
    return true;
  }
  std::uint64_t size() const { return size_; }

 private:
  std::uint64_t size_ = 0;
};

// The temporary file beside the target, removed unless it was renamed over the target.
class Staging {
 public:
  Staging() = default;
  Staging(const Staging&) = delete;
  Staging& operator=(const Staging&) = delete;
  ~Staging() { Discard(); }

  // Creates a fresh name in `folder` exclusively. The name is a short 8.3 one, so it fits
  // wherever the target's name does; a folder that still refuses it gets the content written
  // in place instead.
  DWORD Create(const std::wstring& folder, DWORD attributes) {
    static unsigned counter = 0;
    for (int attempt = 0; attempt < 16; ++attempt) {
      const unsigned mix =
          (GetCurrentProcessId() << 12) ^ GetTickCount() ^ (++counter * 0x9E3779B9u);
      std::wstring path = folder + L"~kx";
      for (int shift = 16; shift >= 0; shift -= 4) path += L"0123456789ABCDEF"[(mix >> shift) & 15];
      path += L".tmp";
      file_ = FromCreateFile(
          CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, attributes, nullptr));
      if (file_) {
        path_ = std::move(path);
        return ERROR_SUCCESS;
      }
      const DWORD error = GetLastError();
      if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return error;
    }
    return ERROR_FILE_EXISTS;
  }
  HANDLE get() const { return file_.get(); }
  // A close can still fail to store what the system held back (a full network share).
  DWORD Close() { return CloseHandle(file_.release()) ? ERROR_SUCCESS : GetLastError(); }
  // Only a file the attribute query found is replaced: under Wine a Unix device node or pipe
  // answers that query as missing, and must stay where it is.
  DWORD RenameOver(const std::wstring& target, bool replace) {
    if (!MoveFileExW(path_.c_str(), target.c_str(), replace ? MOVEFILE_REPLACE_EXISTING : 0))
      return GetLastError();
    path_.clear();
    return ERROR_SUCCESS;
  }
  // Gone before the content goes into the target itself: it may hold the room needed there.
  void Discard() {
    file_.reset();
    if (!path_.empty()) DeleteFileW(path_.c_str());
    path_.clear();
  }

 private:
  Handle file_;
  std::wstring path_;
};

bool IsDiskFull(DWORD error) { return error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL; }

// Refusals that writing into the target itself would still meet.
bool RefusedForSharingOrAccess(DWORD error) {
  return error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION ||
         error == ERROR_LOCK_VIOLATION;
}

// Zeros from the old end to the new one, written before any byte of the old content changes:
// extending the file's size alone may only promise the room on some file systems.
DWORD ClaimRoom(HANDLE file, std::uint64_t from, std::uint64_t to) {
  LARGE_INTEGER at{};
  at.QuadPart = static_cast<LONGLONG>(from);
  if (!SetFilePointerEx(file, at, nullptr, FILE_BEGIN)) return GetLastError();
  const std::string zeros(std::min<std::uint64_t>(to - from, 1 << 16), '\0');
  for (std::uint64_t left = to - from; left > 0;) {
    const auto piece = static_cast<std::size_t>(std::min<std::uint64_t>(left, zeros.size()));
    if (const DWORD error = WriteAllTo(file, zeros.data(), piece)) return error;
    left -= piece;
  }
  return FlushFileBuffers(file) ? ERROR_SUCCESS : GetLastError();
}

FileFailure WriteInPlace(const Resolved& target, const ContentWriter& write) {
  const Handle file = FromCreateFile(CreateFileW(
      target.wide.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return Failure(target, GetLastError(), true);
  CountingSink counted;
  if (!write(counted)) return Failure(target, ERROR_CANCELLED, true);
  LARGE_INTEGER old{};
  if (!GetFileSizeEx(file.get(), &old)) return Failure(target, GetLastError(), true);
  const auto oldSize = static_cast<std::uint64_t>(old.QuadPart);
  if (counted.size() > oldSize) {
    if (const DWORD error = ClaimRoom(file.get(), oldSize, counted.size())) {
      if (SetFilePointerEx(file.get(), old, nullptr, FILE_BEGIN)) SetEndOfFile(file.get());
      return Failure(target, error, true);
    }
  }
  if (!SetFilePointerEx(file.get(), LARGE_INTEGER{}, nullptr, FILE_BEGIN))
    return Failure(target, GetLastError(), true);
  HandleSink sink(file.get());
  if (!write(sink)) return Failure(target, sink.error() ? sink.error() : ERROR_CANCELLED, true);
  if (!SetEndOfFile(file.get()) || !FlushFileBuffers(file.get()))
    return Failure(target, GetLastError(), true);
  return {};
}

// A new file made under its own name when no temporary name fits beside it; removed again
// unless it was written whole.
FileFailure WriteDirectly(const Resolved& target, const ContentWriter& write) {
  Handle file = FromCreateFile(CreateFileW(target.wide.c_str(), GENERIC_WRITE, 0, nullptr,
                                           CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return Failure(target, GetLastError(), true);
  HandleSink sink(file.get());
  DWORD error = write(sink) ? ERROR_SUCCESS : (sink.error() ? sink.error() : ERROR_CANCELLED);
  if (!error && !FlushFileBuffers(file.get())) error = GetLastError();
  if (!error && !CloseHandle(file.release())) error = GetLastError();
  if (!error) return {};
  file.reset();
  DeleteFileW(target.wide.c_str());
  return Failure(target, error, true);
}

}  // namespace

FileFailure WriteFileContent(std::string_view path, const ContentWriter& write) {
  const Resolved target = Resolve(path);
  if (target.error) return Failure(target, target.error, true);
  WIN32_FILE_ATTRIBUTE_DATA old{};
  const bool exists =
      GetFileAttributesExW(target.wide.c_str(), GetFileExInfoStandard, &old) != FALSE;
  // Renaming over a read-only file succeeds on some systems; writing it never does.
  if (exists && (old.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)))
    return Failure(target, ERROR_ACCESS_DENIED, true);
  const size_t cut = target.wide.find_last_of(L'\\');
  if (cut + 1 == target.wide.size()) return Failure(target, ERROR_INVALID_NAME, true);

  // The replacement looks like the old file: hidden or system stays so, and it keeps the
  // time it was created, as a file written in place would.
  const DWORD kept =
      exists ? old.dwFileAttributes &
                   (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE)
             : 0;
  Staging staging;
  DWORD error = staging.Create(target.wide.substr(0, cut + 1), kept ? kept : FILE_ATTRIBUTE_NORMAL);
  if (error) {
    const bool tooLong = error == ERROR_FILENAME_EXCED_RANGE;
    if (exists && (tooLong || error == ERROR_ACCESS_DENIED)) return WriteInPlace(target, write);
    return tooLong ? WriteDirectly(target, write) : Failure(target, error, true);
  }
  HandleSink sink(staging.get());
  if (!write(sink)) {
    staging.Discard();
    if (!sink.error()) return Failure(target, ERROR_CANCELLED, true);
    if (exists && IsDiskFull(sink.error())) return WriteInPlace(target, write);
    return Failure(target, sink.error(), true);
  }
  if (exists) SetFileTime(staging.get(), &old.ftCreationTime, nullptr, nullptr);
  if (!FlushFileBuffers(staging.get())) error = GetLastError();
  if (const DWORD closed = staging.Close(); !error) error = closed;
  if (error) {
    staging.Discard();
    if (exists && IsDiskFull(error)) return WriteInPlace(target, write);
    return Failure(target, error, true);
  }
  error = staging.RenameOver(target.wide, exists);
  if (!error) return {};
  staging.Discard();
  if (exists && RefusedForSharingOrAccess(error)) return WriteInPlace(target, write);
  return Failure(target, error, true);
}

FileFailure WriteAll(std::string_view path, std::string_view bytes) {
  return WriteFileContent(path,
                          [bytes](ByteSink& sink) { return sink.Put(bytes.data(), bytes.size()); });
}

DWORD RemoveFile(std::string_view path) {
  const Resolved resolved = Resolve(path);
  if (resolved.error) return resolved.error;
  return DeleteFileW(resolved.wide.c_str()) ? ERROR_SUCCESS : GetLastError();
}

bool IsStagingName(std::string_view fileName) {
  return fileName.size() == 12 && fileName.starts_with("~kx") && fileName.ends_with(".tmp");
}

FileBytes::FileBytes(std::string_view path, bool deleteOnClose) {
  const Resolved resolved = Resolve(path);
  if (resolved.error) return;
  const auto open = [&resolved](DWORD flags) {
    return FromCreateFile(CreateFileW(
        resolved.wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN | flags, nullptr));
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
  if (ReadToEndFrom(file_.get(), copy_) == ERROR_SUCCESS) text_ = copy_;
}

FileBytes::~FileBytes() {
  if (view_) UnmapViewOfFile(view_);
}

TempFile::~TempFile() {
  if (path_.empty()) return;
  const Resolved resolved = Resolve(path_);
  if (resolved.error || DeleteFileW(resolved.wide.c_str())) return;
  // The host may leave its dump read-only; the file is ours to remove all the same.
  if (GetLastError() == ERROR_ACCESS_DENIED &&
      SetFileAttributesW(resolved.wide.c_str(), FILE_ATTRIBUTE_NORMAL))
    DeleteFileW(resolved.wide.c_str());
}
