// File and path information: size, long and short forms, the shell's type name, the parent
// folder, whether a folder is empty, and fresh names in the temporary folder. None of these
// actions changes anything on disk.
#include <windows.h>
// shellapi.h builds on the types that windows.h declares.
#include <shellapi.h>

#include <cstdint>
#include <cstring>
#include <optional>
#include <string>

#include "actions/actions.h"
#include "core/failures.h"
#include "core/host_io.h"
#include "core/random.h"
#include "platform/buffers.h"
#include "platform/lead_bytes.h"
#include "platform/raii.h"

namespace {
constexpr bool IsDotEntry(const char* name) {
  return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

// The folder above the last name of `path`, by its backslashes alone: for texts the system
// will not resolve.
std::string LexicalParent(std::string_view path) {
  while (path.size() > 1 && (path.back() == '\\' || path.back() == '/')) path.remove_suffix(1);
  const size_t cut = path.find_last_of("\\/:");
  if (cut == std::string_view::npos) return {};
  return std::string(path.substr(0, cut + 1));
}

// kxFileLongPath and kxFileShortPath differ only in the call that converts the path.
template <typename Convert>
bool RunPathConversion(const ActionCall& call, Convert convert) {
  const std::string path = call.Param(0), variable = call.Param(1);
  if (!FileAccepted(path, variable)) return false;
  const std::optional<std::string> converted =
      CallWithGrowingBuffer([&](char* buffer, DWORD size) { return convert(path, buffer, size); });
  if (!converted) return ReportSystemError(variable, GetLastError());
  SetResultVariable(variable, *converted);
  return true;
}
}  // namespace

// kxFileSize: the byte count of an existing file in full 64 bits; folders count as missing.
bool RunFileSize(const ActionCall& call) {
  const std::string path = call.Param(0), variable = call.Param(1);
  if (!FileExists(path)) return ReportMissingFile(path, variable);
  std::uint64_t size = 0;
  if (const FileFailure failure = FileSize(path, size)) return ReportFileFailure(variable, failure);
  SetResultVariable(variable, std::to_string(size));
  return true;
}

// kxTempFilePath: a name that does not exist yet; nothing is created. Every dot is taken out
// of the extension so ".txt" and "txt" give the same name shape.
bool RunTempFilePath(const ActionCall& call) {
  std::string extension = call.Param(0);
  const std::string variable = call.Param(1);
  std::erase(extension, '.');
  SetResultVariable(variable, MakeTempFilePath(extension));
  return true;
}

// kxFileLongPath: results longer than MAX_PATH come back whole, never cut.
bool RunFileLongPath(const ActionCall& call) {
  return RunPathConversion(call, [](const std::string& path, char* buffer, DWORD size) {
    return GetLongPathNameA(path.c_str(), buffer, size);
  });
}

// kxFileShortPath: as kxFileLongPath, with the 8.3 form of every component.
bool RunFileShortPath(const ActionCall& call) {
  return RunPathConversion(call, [](const std::string& path, char* buffer, DWORD size) {
    return GetShortPathNameA(path.c_str(), buffer, size);
  });
}

// kxFileTypeName: what Explorer shows in its Type column. A path the shell does not know
// gives the empty text, still a success.
bool RunFileTypeName(const ActionCall& call) {
  const std::string path = call.Param(0), variable = call.Param(1);
  const ComScope com;  // the shell may consult COM-registered handlers for the type
  SHFILEINFOA info{};
  SHGetFileInfoA(path.c_str(), 0, &info, sizeof info, SHGFI_TYPENAME);
  SetResultVariable(variable,
                    std::string(info.szTypeName, strnlen(info.szTypeName, sizeof info.szTypeName)));
  return true;
}

// kxParentDir: "\.." resolved by the system, so a file gives its folder, a folder the one
// above and a drive root itself; relative paths resolve against the current folder. The wide
// call resolves paths of any length, where the ANSI one stops at MAX_PATH and "\.." alone
// pushes a valid path past it; a text that not even it can resolve still gets the parent
// its own backslashes show. There is no failure to report.
bool RunParentDir(const ActionCall& call) {
  const std::string path = call.Param(0), variable = call.Param(1);
  const std::wstring up = AnsiToWide(path + "\\..");
  const std::optional<std::wstring> parent = FullPathOf(up);
  const std::string answer = parent ? WideToAnsi(*parent) : LexicalParent(path);
  SetResultVariable(variable, WithTrailingBackslash(answer, AnsiLeadBytes()));
  return true;
}

// kxDirIsEmpty: "True" when the listing holds nothing but "." and "..". A folder that cannot
// be listed (missing, no access) answers "False", still a success. A drive root has no dot
// entries, so an empty one lists nothing at all: that is empty too.
bool RunDirIsEmpty(const ActionCall& call) {
  const std::string path = call.Param(0), variable = call.Param(1);
  const std::string mask = WithTrailingBackslash(path, AnsiLeadBytes()) + "*";
  WIN32_FIND_DATAA data{};
  const FindHandle find(FindFirstFileA(mask.c_str(), &data));
  bool empty = false;
  if (find) {
    empty = true;
    do {
      if (!IsDotEntry(data.cFileName)) {
        empty = false;
        break;
      }
    } while (FindNextFileA(find.get(), &data));
  } else {
    empty = GetLastError() == ERROR_FILE_NOT_FOUND && FolderExists(path);
  }
  SetResultVariable(variable, TruthText(empty));
  return true;
}
