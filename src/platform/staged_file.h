// A file written under a temporary name in its own folder and renamed over the target only
// once every byte is on disk, so a failed write (missing folder, no access, disk full) never
// leaves a partial file and never destroys the file that was there before.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <string_view>

class StagedFile {
 public:
  StagedFile() = default;
  StagedFile(const StagedFile&) = delete;
  StagedFile& operator=(const StagedFile&) = delete;
  // Removes the temporary file unless Commit succeeded; the thread's last error survives.
  ~StagedFile();

  // Creates the temporary file beside `target`. False with the system's last error.
  bool Open(std::string_view target);
  bool Write(const void* data, std::size_t size);
  // Closes the temporary file and puts it in the target's place, replacing any file there.
  bool Commit();

 private:
  void Discard();

  HANDLE file_ = INVALID_HANDLE_VALUE;
  std::string target_, temporary_;
};
