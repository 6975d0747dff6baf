// Whole-file reads and writes for the variable and script actions.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <utility>

#include "platform/paths.h"
#include "platform/raii.h"

// Reads every byte of the file into `bytes`; returns the system error code, 0 on success. A
// device is refused with ERROR_INVALID_NAME.
DWORD ReadWholeFile(std::string_view path, std::string& bytes);

// Writes `bytes` to a temporary file in the target's folder and moves it over the target
// only once every byte is written, so a failure never leaves a truncated file where a good
// one was. A target that another program keeps open, so that it cannot be renamed over but
// can be written, gets the content written into it instead. Returns the system error code,
// 0 on success; the temporary file is gone either way.
DWORD WriteFileReplacing(std::string_view path, std::string_view bytes);

// A file's bytes, mapped read-only (or read, should mapping fail). A missing, empty or
// unreadable file gives an empty text. With `deleteOnClose` the file is removed once the
// owner lets go of it, if the system allows; `deletesOnClose` tells whether it does.
class FileBytes {
 public:
  FileBytes(std::string_view path, bool deleteOnClose);
  FileBytes(const FileBytes&) = delete;
  FileBytes& operator=(const FileBytes&) = delete;
  ~FileBytes();
  std::string_view text() const { return text_; }
  bool deletesOnClose() const { return deletesOnClose_; }

 private:
  Handle file_, mapping_;
  const void* view_ = nullptr;
  bool deletesOnClose_ = false;
  std::string copy_;
  std::string_view text_;
};

// A file deleted, if it still exists, when the owner goes out of scope.
class TempFile {
 public:
  explicit TempFile(std::string path) : path_(std::move(path)) {}
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;
  ~TempFile() {
    if (path_.empty() || DeleteFileA(path_.c_str())) return;
    // The host may leave its dump read-only; the file is ours to remove all the same.
    if (GetLastError() == ERROR_ACCESS_DENIED &&
        SetFileAttributesA(path_.c_str(), FILE_ATTRIBUTE_NORMAL))
      DeleteFileA(path_.c_str());
  }
  const std::string& path() const { return path_; }
  // The file now lives on under another name: nothing to delete.
  void Release() { path_.clear(); }

 private:
  std::string path_;
};
