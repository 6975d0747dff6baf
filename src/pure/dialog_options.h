// The option words of the colour and file dialogs, the custom-colour texts and the shapes of
// the texts the file dialogs exchange. No Windows header: the flag values are the system's
// own numbers, spelled out here so the tables build and test natively.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "pure/string_rules.h"

struct FileDialogFlags {
  std::uint32_t flags = 0;    // OPENFILENAME Flags
  std::uint32_t flagsEx = 0;  // OPENFILENAME FlagsEx
  bool multiSelect() const { return (flags & 0x200) != 0; }
  bool explorer() const { return (flags & 0x80000) != 0; }
};

// OFN_HIDEREADONLY, OFN_EXPLORER unless "ofOldStyleDialog", and every keyword of the open or
// the save column found anywhere in `options` (exact case).
FileDialogFlags FileDialogOptions(std::string_view options, bool saveDialog);
// CC_RGBINIT and the four "cd..." keywords found in `options`.
std::uint32_t ColorDialogOptions(std::string_view options);
// The keywords each dialog understands, in the order the property forms offer them.
std::span<const std::string_view> FileDialogKeywords(bool saveDialog);
std::span<const std::string_view> ColorDialogKeywords();

// A custom colour slot as the variables hold it: upper-case hexadecimal, at least six digits
// (pure red is "0000FF"; an empty slot, -1, is "FFFFFFFF").
std::string CustomColorText(std::uint32_t color);
// The same form read back: blanks around it are ignored, either case is accepted, at most
// eight digits. Anything else (an empty text, "255,0,0") is not a slot value.
std::optional<std::uint32_t> ParseCustomColor(std::string_view text);

// "Text|*.txt|All|*.*" as the dialog wants it: each "|" a zero, two zeros at the end.
// Empty for an empty filter (the dialog then gets none).
std::string FilterForDialog(std::string_view filter);

// What a file dialog left in its buffer, as full paths in the dialog's order: one path; or,
// for a multi-selection, the folder followed by the names (zero-separated in the explorer
// style, blank-separated in the old style), each name joined to the folder unless the dialog
// returned a full path for it. `fileOffset` is the dialog's offset of the first name: when the
// character before it is not the separator, a single file was chosen and the first text is its
// whole path, blanks included (0: not known, judged from the pieces).
std::vector<std::string> SelectedFiles(std::string_view buffer, bool multiSelect, bool explorer,
                                       std::size_t fileOffset = 0,
                                       const LeadBytes& lead = kNoLeadBytes);

// The help engine's call for kxOpenHelpTheme: a context number for an integer text, otherwise
// the topic page inside the file ("file::\topic").
struct HelpTopicCall {
  std::string file;
  std::uint32_t command = 0;  // HH_HELP_CONTEXT or HH_DISPLAY_TOPIC
  std::uint32_t data = 0;
};
HelpTopicCall HelpTopic(std::string_view helpFile, std::string_view topic);
