// The one place where actions open, read, write, replace and remove files.
//
// Paths arrive as the host's ANSI text. The layer resolves each one once: made full, turned
// into the wide long form ("\\?\C:\...", "\\?\UNC\server\share\...") so that any path Windows
// can create works past MAX_PATH, and refused when it names a device ("CON", "x\NUL.txt",
// "\\.\PhysicalDrive0"): reading one can wait for ever on a port, writing one sends the bytes
// to the device. Every failure comes back as the system's code and the full path, so an
// action reports the same cause with the same text whichever action met it.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/raii.h"

struct FileFailure {
  DWORD code = ERROR_SUCCESS;  // the system's reason
  std::string path;            // the full path, as failure texts name the file
  bool creating = false;       // a file being made or replaced, not an existing one opened
  bool device = false;         // refused as a device before anything was opened
  explicit operator bool() const { return code != ERROR_SUCCESS; }
};

enum class PathKind { kMissing, kFile, kFolder, kDevice };
// What the attribute query finds at `path`, through the wide call on its long form.
PathKind KindOf(std::string_view path);
// An existing file: anything that is not a folder. Devices count, so that an action which
// needs a file goes on to open it and meets the layer's one refusal of them.
bool FileExists(std::string_view path);
bool FolderExists(std::string_view path);
// The system's full form of `path`, however long; nullopt when the system cannot make one.
std::optional<std::wstring> FullPathOf(const std::wstring& path);
// The device refusal alone, for paths an action hands on instead of opening (the host's
// SaveVariables) or only looks at.
FileFailure RefuseDevice(std::string_view path, bool creating);
// The size of an existing file, in full 64 bits.
FileFailure FileSize(std::string_view path, std::uint64_t& size);

// An open file; closed with its owner.
class File {
 public:
  File() = default;
  File(Handle handle, std::string fullPath)
      : handle_(std::move(handle)), path_(std::move(fullPath)) {}
  HANDLE get() const { return handle_.get(); }
  const std::string& path() const { return path_; }
  // Fills `buffer` from the current position; `filled` falls short only at the end of the
  // file. ERROR_SUCCESS or the system's code.
  DWORD ReadPiece(void* buffer, DWORD size, DWORD& filled) const;
  DWORD Write(const void* data, std::size_t size) const;

 private:
  Handle handle_;
  std::string path_;
};

enum class Sharing { kReadWrite, kNone };
// An existing file opened for reading; with kNone nobody may change it while it is read.
FileFailure OpenForRead(std::string_view path, Sharing sharing, File& file);
// An existing file opened for reading and writing in place, exclusively. A read-only file is
// refused with the access-denied code before anything is opened, so not a byte of it changes.
FileFailure OpenForChange(std::string_view path, File& file);
// Every byte of an existing file, read with reading and writing shared.
FileFailure ReadAll(std::string_view path, std::string& bytes);

// Where the content of a file is written, in order from its first byte.
class ByteSink {
 public:
  virtual bool Put(const void* data, std::size_t size) = 0;

 protected:
  ~ByteSink() = default;
};
// Writes the whole content into the sink, from its first byte, each time it is called: a
// replacement may need it more than once. False ends the write, either because the sink
// refused (the layer knows why) or for a reason of the writer's own, which it keeps itself.
using ContentWriter = std::function<bool(ByteSink& sink)>;

// Creates or replaces the file at `path` with what `write` produces. The content goes to a
// temporary file beside the target, which is flushed and renamed over the target only once it
// is whole. When the rename is refused for sharing or access (another program holds the
// target without delete sharing), the temporary file cannot be made, or the disk has no room
// for two copies, the content is written into the target itself, after the room it needs has
// been claimed, so running out of room leaves the old file as it was. Read-only files and
// folders are refused. On every failure the old file is kept whole and no temporary file is
// left behind. A failure of the writer's own comes back as ERROR_CANCELLED.
FileFailure WriteFileContent(std::string_view path, const ContentWriter& write);
FileFailure WriteAll(std::string_view path, std::string_view bytes);

// Deletes a file; ERROR_SUCCESS or the system's code.
DWORD RemoveFile(std::string_view path);

// The names the staged writer gives its temporary files, for checks that none is left.
bool IsStagingName(std::string_view fileName);

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

// A file deleted, if it still exists, when the owner goes out of scope; read-only or not.
class TempFile {
 public:
  explicit TempFile(std::string path) : path_(std::move(path)) {}
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;
  ~TempFile();
  const std::string& path() const { return path_; }
  // The file now lives on under another name: nothing to delete.
  void Release() { path_.clear(); }

 private:
  std::string path_;
};
