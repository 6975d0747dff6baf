// How kxGetShortcut shows a link's window state and hotkey, and how kxAddShortcut derives the
// working folder and the file name of a new link.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "pure/string_rules.h"

// "SW_SHOWNORMAL" (1), "SW_SHOWMAXIMIZED" (3), "SW_SHOWMINNOACTIVE" (7), "SW_UNKNOW" otherwise:
// the last is the name scripts already test for, so its spelling stays.
std::string_view ShowCommandName(int showCommand);

// The names the plug-in gives keys itself (BkSp, Tab, F1 ... F24, digits, capitals, keypad
// digits); nullopt for a key whose name the keyboard layout has to supply.
std::optional<std::string> OwnKeyName(std::uint8_t virtualKey);

// "SHIFT+", "CTRL+", "ALT+", "Extended+" for the modifier bits of the high byte, in that order,
// then the key's name; the empty text for a link without a hotkey (0).
std::string HotkeyText(std::uint16_t hotkey, std::string_view layoutKeyName);

// The folder part of a link's target: the target without its last component and without a
// trailing separator ("\" or "/"), except at a drive root (C:\app.exe gives C:\). A folder
// target ending in a separator still gives the folder above it. The separators stay as written.
std::string WorkingFolderOf(std::string_view target, const LeadBytes& lead);

// folder + "\" unless the folder already ends with one + name + ".lnk". A backslash that is
// the second byte of a double-byte character does not count as the folder's end.
std::string ShortcutFileName(std::string_view folder, std::string_view name, const LeadBytes& lead);
