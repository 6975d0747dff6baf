// Changing files on disk: the shell's copy, move, delete and rename with its own dialogs, and
// wiping a file's contents before deleting it.
#include <windows.h>
// shellapi.h builds on the types that windows.h declares.
#include <shellapi.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "actions/actions.h"
#include "core/failures.h"
#include "core/host_io.h"
#include "core/random.h"
#include "platform/files.h"
#include "platform/resources.h"
#include "platform/seams.h"
#include "pure/file_operations.h"
#include "pure/text.h"
#include "resources/resource.h"

namespace {

// The shell's own code for "the user cancelled", returned by older shells instead of
// ERROR_CANCELLED.
constexpr int kShellOperationCancelled = 0x75;

constexpr std::size_t kPatternBytes = 1025;
// Passes are written in 1 MiB chunks at 1 MiB file offsets, so the disk sees whole, aligned
// blocks. The buffer holds the pattern repeated over one chunk and 1024 bytes more: the chunk
// that starts at file offset p is taken from buffer offset p mod 1025, which keeps the bytes
// on disk exactly those of the pattern written 1025 bytes at a time.
constexpr std::size_t kChunkBytes = std::size_t{1} << 20;
constexpr std::int32_t kMaxCycles = 255;

// One pass: a fresh pattern over exactly the file's current size, then one flush. Returns the
// system error code, 0 on success.
DWORD OverwriteOnce(const File& file, std::vector<char>& buffer, ClockSeededRandom& random) {
  char pattern[kPatternBytes];
  for (char& byte : pattern) byte = static_cast<char>(random.Next(256));

  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size) ||
      !SetFilePointerEx(file.get(), LARGE_INTEGER{}, nullptr, FILE_BEGIN))
    return GetLastError();
  const auto total = static_cast<std::uint64_t>(size.QuadPart);
  buffer.resize(static_cast<std::size_t>(std::min<std::uint64_t>(total, kChunkBytes)) +
                kPatternBytes - 1);
  FillWithPattern(std::string_view(pattern, kPatternBytes), buffer.data(), buffer.size());
  for (std::uint64_t done = 0; done < total;) {
    const auto chunk = static_cast<DWORD>(std::min<std::uint64_t>(total - done, kChunkBytes));
    if (const DWORD error = file.Write(buffer.data() + done % kPatternBytes, chunk)) return error;
    done += chunk;
  }
  return Seams().flushFileBuffers(file.get()) ? 0 : GetLastError();
}

// The shell answers some failures with codes of its own (DE_...) that collide with Windows
// error numbers of another meaning. Those that match a Windows error are told in the
// system's words; nullopt for the rest, which are told by number.
std::optional<DWORD> WindowsErrorOfShellCode(int code) {
  switch (code) {
    case 0x78:  // DE_ACCESSDENIEDSRC
      return ERROR_ACCESS_DENIED;
    case 0x79:  // DE_PATHTOODEEP
    case 0x81:  // DE_FILENAMETOOLONG
      return ERROR_FILENAME_EXCED_RANGE;
    case 0x7C:   // DE_INVALIDFILES
    case 0x402:  // an invalid path in the source or the destination
      return ERROR_BAD_PATHNAME;
    case 0x88:  // DE_FILE_TOO_LARGE
      return ERROR_FILE_TOO_LARGE;
    default:
      break;
  }
  const bool shellOwn =
      (code >= 0x71 && code <= 0x87) || code == 0xB7 || code == 0x10000 || code == 0x10074;
  if (shellOwn) return std::nullopt;
  return static_cast<DWORD>(code);
}

// The thread's error when the shell set one (what the system reports for the call), else
// the shell's answer; never an empty LastError for a failed operation.
std::string ShellFailureText(int result, DWORD lastError) {
  std::string text;
  if (lastError != ERROR_SUCCESS)
    text = SystemErrorText(lastError);
  else if (const std::optional<DWORD> code = WindowsErrorOfShellCode(result))
    text = SystemErrorText(*code);
  if (!text.empty()) return text;
  char number[16];
  wsprintfA(number, "0x%X", static_cast<unsigned>(result));
  return FormatResString(IDS_FILE_OPERATION_FAILED, {number});
}

}  // namespace

// kxFileOperation: "True" when the shell finished, "Cancel" when the user stopped any part of
// it (not a failure). A failed operation writes "False" as well as the system's text, so a
// script never reads an earlier run's "True" as this run's answer.
bool RunFileOperation(const ActionCall& call) {
  const std::string name = call.Param(0), sources = call.Param(1), targets = call.Param(2),
                    title = call.Param(3), flags = call.Param(4), variable = call.Param(5);
  const std::optional<unsigned> code = ShellOperationCode(name);
  if (!code) return ReportInvalidArguments(call);
  const std::optional<std::string> from = ShellPathList(sources), to = ShellPathList(targets);

  SHFILEOPSTRUCTA operation{};
  operation.hwnd = GetActiveWindow();
  operation.wFunc = *code;
  operation.pFrom = from ? from->c_str() : nullptr;
  operation.pTo = to ? to->c_str() : nullptr;
  operation.fFlags = ShellOperationFlags(flags);
  operation.lpszProgressTitle = title.c_str();
  // The shell does not always set the thread's error: start clean, so a failure is never
  // described by whatever failed before it.
  SetLastError(ERROR_SUCCESS);
  const int result = Seams().shFileOperation(&operation);
  const DWORD lastError = GetLastError();

  // The shell also sets the aborted flag for operations the system stopped silently (a
  // locked or denied file without error UI): only a cancel code, or a success with the flag
  // set, is the user's cancel.
  const bool cancelled = result == ERROR_CANCELLED || result == kShellOperationCancelled ||
                         (result == 0 && operation.fAnyOperationsAborted);
  if (cancelled) {
    SetResultVariable(variable, "Cancel");
    return true;
  }
  if (result != 0) return ReportFailure(variable, ShellFailureText(result, lastError));
  SetResultVariable(variable, kTrue);
  return true;
}

// kxWipeFile: (cycles + 1) × 3 passes of fresh pseudo-random bytes over exactly the file's
// size, each flushed to disk, then the file is deleted. The count is read leniently ("abc" is
// 1) but must lie in 0 to 255: 300 is refused rather than run as 45. A file that cannot be
// opened exclusively, or is read-only, is left untouched: it is refused before a byte is
// written, where a delete refused afterwards would leave the author's file overwritten. A
// failed write stops the wipe and keeps the file; a failed delete is reported, since the
// author would otherwise believe the file gone.
bool RunWipeFile(const ActionCall& call) {
  const std::string path = call.Param(0), variable = call.Param(2);
  if (!FileExists(path)) return ReportMissingFile(path, variable);
  const std::int32_t cycles = ParseLenient(call.Param(1), 1);
  if (cycles < 0 || cycles > kMaxCycles) return ReportInvalidArguments(call);

  // A generator of the wipe's own, seeded afresh: the patterns differ from wipe to wipe, and
  // kxRandomFromStr draws the same whether a wipe ran in between or not.
  ClockSeededRandom random;
  {
    File file;
    if (const FileFailure failure = OpenForChange(path, file))
      return ReportFileFailure(variable, failure);
    std::vector<char> buffer;
    for (std::int32_t pass = 0; pass < (cycles + 1) * 3; ++pass)
      if (const DWORD code = OverwriteOnce(file, buffer, random))
        return ReportSystemError(variable, code);
  }
  if (const DWORD code = RemoveFile(path)) return ReportSystemError(variable, code);
  SetResultVariable(variable, kTrue);
  return true;
}
