#include "platform/staged_file.h"

#include <cstdio>

#include "platform/paths.h"

namespace {

// Short, so that a target path close to the length limit still has room for it.
std::string TemporaryName(std::string_view folder, unsigned attempt) {
  char name[24] = {};
  const unsigned mix = (GetCurrentProcessId() << 16) ^ GetTickCount() ^ (attempt * 0x9E3779B9u);
  std::snprintf(name, sizeof name, "~kx%08X.tmp", mix);
  return std::string(folder) + name;
}

}  // namespace

StagedFile::~StagedFile() { Discard(); }

void StagedFile::Discard() {
  const DWORD error = GetLastError();
  if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
  file_ = INVALID_HANDLE_VALUE;
  if (!temporary_.empty()) DeleteFileA(temporary_.c_str());
  temporary_.clear();
  SetLastError(error);
}

bool StagedFile::Open(std::string_view target) {
  Discard();
  target_ = target;
  if (IsDevicePath(target_)) {
    SetLastError(ERROR_INVALID_NAME);
    return false;
  }
  // Renaming would replace a read-only file, or try to replace a folder; refuse both as
  // writing the file directly would.
  const DWORD attributes = GetFileAttributesA(target_.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES &&
      (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))) {
    SetLastError(ERROR_ACCESS_DENIED);
    return false;
  }
  const auto cut = target_.find_last_of("\\/:");
  const std::string_view folder =
      cut == std::string::npos ? std::string_view() : std::string_view(target_).substr(0, cut + 1);
  for (unsigned attempt = 0; attempt < 16; ++attempt) {
    const std::string candidate = TemporaryName(folder, attempt);
    file_ = CreateFileA(candidate.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                        FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file_ != INVALID_HANDLE_VALUE) {
      temporary_ = candidate;
      return true;
    }
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return false;
  }
  return false;
}

bool StagedFile::Write(const void* data, std::size_t size) {
  const auto* bytes = static_cast<const char*>(data);
  while (size > 0) {
    const DWORD chunk = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
    DWORD written = 0;
    if (!WriteFile(file_, bytes, chunk, &written, nullptr)) return false;
    if (written == 0) {
      SetLastError(ERROR_DISK_FULL);
      return false;
    }
    bytes += written;
    size -= written;
  }
  return true;
}

bool StagedFile::Commit() {
  if (file_ == INVALID_HANDLE_VALUE) {
    SetLastError(ERROR_INVALID_HANDLE);
    return false;
  }
  const HANDLE file = file_;
  file_ = INVALID_HANDLE_VALUE;
  if (!CloseHandle(file)) return false;
  if (!MoveFileExA(temporary_.c_str(), target_.c_str(), MOVEFILE_REPLACE_EXISTING)) return false;
  temporary_.clear();
  return true;
}
