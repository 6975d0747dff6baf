#include "pure/drive_names.h"

#include <array>
#include <string>

#include "pure/text.h"

namespace {
constexpr std::array<std::string_view, 7> kNames = {
    "DRIVE_UNKNOWN", "DRIVE_NO_ROOT_DIR", "DRIVE_REMOVABLE", "DRIVE_FIXED",
    "DRIVE_REMOTE",  "DRIVE_CDROM",       "DRIVE_RAMDISK",
};
constexpr std::array<std::string_view, 7> kFilters = {"DRIVE_ALL", kNames[2], kNames[3], kNames[4],
                                                      kNames[5],   kNames[6], kNames[0]};
constexpr std::array<std::string_view, 26> kLetters = {"A", "B", "C", "D", "E", "F", "G", "H", "I",
                                                       "J", "K", "L", "M", "N", "O", "P", "Q", "R",
                                                       "S", "T", "U", "V", "W", "X", "Y", "Z"};
}  // namespace

std::string_view DriveTypeName(unsigned code) { return code < kNames.size() ? kNames[code] : ""; }

std::span<const std::string_view> DriveTypeFilters() { return kFilters; }
std::span<const std::string_view> DriveLetters() { return kLetters; }

std::optional<int> DriveFilterCode(std::string_view filter) {
  if (filter == "DRIVE_ALL") return kAllDrives;
  for (int code = 0; code < static_cast<int>(kNames.size()); ++code)
    if (code != kDriveNoRootDir && filter == kNames[code]) return code;
  return std::nullopt;
}

std::optional<char> DriveLetter(std::string_view parameter) {
  std::string letter(TrimView(parameter));
  std::erase_if(letter, [](char c) { return c == ':' || c == '\\'; });
  if (letter.size() != 1) return std::nullopt;
  return letter.front();
}
