// Drive-type names as scripts exchange them: the name kxDriveType writes is also a filter that
// kxSystemDrives accepts.
#pragma once

#include <optional>
#include <span>
#include <string_view>

// GetDriveType's code for a drive that does not exist; such drives are never listed.
inline constexpr int kDriveNoRootDir = 1;
// The filter "DRIVE_ALL": every drive that exists, whatever its type.
inline constexpr int kAllDrives = -1;

// "DRIVE_UNKNOWN" ... "DRIVE_RAMDISK" for codes 0 to 6; the empty text for any other code.
std::string_view DriveTypeName(unsigned code);

// The code a filter selects, kAllDrives for "DRIVE_ALL", nullopt for anything else. Exact
// bytes: no trimming, case matters, and "DRIVE_NO_ROOT_DIR" selects nothing that could exist.
std::optional<int> DriveFilterCode(std::string_view filter);
// The filters the property form offers: "DRIVE_ALL", then the types a drive can have.
std::span<const std::string_view> DriveTypeFilters();
// "A" to "Z", the letters the property form offers.
std::span<const std::string_view> DriveLetters();

// The drive letter in a kxDriveType parameter: trimmed, every ":" and "\" dropped, and then
// exactly one byte left. Any byte passes, letter or not.
std::optional<char> DriveLetter(std::string_view parameter);
