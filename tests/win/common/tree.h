// Removes a folder with everything in it, read-only files included; for scratch folders of
// the suites and the fuzz driver. Wide calls on the "\\?\" form, so that names past MAX_PATH
// and names outside the ANSI code page go too.
#pragma once

#include <windows.h>

#include <string>

inline void RemoveTreeW(const std::wstring& dir) {
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((dir + L"\\*").c_str(), &data);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = data.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring path = dir + L"\\" + name;
      SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        RemoveTreeW(path);
      else
        DeleteFileW(path.c_str());
    } while (FindNextFileW(find, &data));
    FindClose(find);
  }
  RemoveDirectoryW(dir.c_str());
}

inline void RemoveTree(const std::string& dir) {
  wchar_t given[MAX_PATH * 2] = {}, full[MAX_PATH * 2] = {};
  if (!MultiByteToWideChar(CP_ACP, 0, dir.c_str(), -1, given, MAX_PATH * 2)) return;
  const DWORD length = GetFullPathNameW(given, MAX_PATH * 2, full, nullptr);
  if (length == 0 || length >= MAX_PATH * 2) return;
  RemoveTreeW(L"\\\\?\\" + std::wstring(full, length));
}
