// Files for the file-information suites, made with the system's own calls.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "core/failures.h"
#include "core/host_io.h"

// A file of `size` bytes that takes no room: the end is moved, nothing is written.
inline bool MakeSparseFile(const std::string& path, std::uint64_t size) {
  const HANDLE file =
      CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER end{};
  end.QuadPart = static_cast<LONGLONG>(size);
  const bool ok = SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && SetEndOfFile(file);
  CloseHandle(file);
  return ok;
}

// The whole 8.3 form of a path, through the wide call that has no MAX_PATH limit.
inline std::string ShortPathW(const std::string& path) {
  const std::string prefixed = "\\\\?\\" + path;
  std::wstring wide(prefixed.begin(), prefixed.end());
  std::wstring shortPath(4096, L'\0');
  const DWORD length = GetShortPathNameW(wide.c_str(), shortPath.data(), 4096);
  if (length == 0 || length >= 4096) return {};
  return std::string(shortPath.begin() + 4, shortPath.begin() + length);
}
