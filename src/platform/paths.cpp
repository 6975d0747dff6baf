#include "platform/paths.h"

#include <windows.h>

#include <string>

#include "platform/buffers.h"

bool IsDevicePath(std::string_view path) {
  const std::string name(path);
  const auto full = CallWithGrowingBuffer([&](char* buffer, DWORD size) {
    return GetFullPathNameA(name.c_str(), size, buffer, nullptr);
  });
  // GetFullPathName turns a device name into "\\.\NAME".
  return full && full->starts_with("\\\\.\\");
}

std::string FullPath(const std::string& path) {
  return CallWithGrowingBuffer([&](char* buffer, DWORD size) {
           return GetFullPathNameA(path.c_str(), size, buffer, nullptr);
         })
      .value_or(path);
}
