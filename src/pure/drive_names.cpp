#include "pure/drive_names.h"

#include <array>
#include <string>
#include <vector>

#include "pure/text.h"

namespace {
constexpr std::array<std::string_view, 7> kNames = {
    "DRIVE_UNKNOWN", "DRIVE_NO_ROOT_DIR", "DRIVE_REMOVABLE", "DRIVE_FIXED",
    "DRIVE_REMOTE",  "DRIVE_CDROM",       "DRIVE_RAMDISK",
};
}  // namespace

std::string_view DriveTypeName(unsigned code) { return code < kNames.size() ? kNames[code] : ""; }

std::span<const std::string_view> DriveTypeFilters() {
  static const std::vector<std::string_view> filters = {
      "DRIVE_ALL", kNames[2], kNames[3], kNames[4], kNames[5], kNames[6], kNames[0]};
  return filters;
}

std::span<const std::string_view> DriveLetters() {
  static constexpr std::string_view kLetters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
  static const std::vector<std::string_view> letters = [] {
    std::vector<std::string_view> list;
    for (std::size_t i = 0; i < kLetters.size(); ++i) list.push_back(kLetters.substr(i, 1));
    return list;
  }();
  return letters;
}

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
