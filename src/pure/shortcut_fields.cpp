#include "pure/shortcut_fields.h"

std::string_view ShowCommandName(int showCommand) {
  switch (showCommand) {
    case 1:
      return "SW_SHOWNORMAL";
    case 3:
      return "SW_SHOWMAXIMIZED";
    case 7:
      return "SW_SHOWMINNOACTIVE";
    default:
      return "SW_UNKNOW";
  }
}

std::optional<std::string> OwnKeyName(std::uint8_t key) {
  static constexpr std::string_view kNavigation[] = {"Space", "PgUp", "PgDn",  "End", "Home",
                                                     "Left",  "Up",   "Right", "Down"};
  switch (key) {
    case 8:
      return "BkSp";
    case 9:
      return "Tab";
    case 13:
      return "Enter";
    case 27:
      return "Esc";
    case 45:
      return "Ins";
    case 46:
      return "Del";
  }
  if (key >= 32 && key <= 40) return std::string(kNavigation[key - 32]);
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z'))
    return std::string(1, static_cast<char>(key));
  if (key >= 96 && key <= 105) return std::string(1, static_cast<char>('0' + key - 96));
  if (key >= 112 && key <= 135) return std::string("F").append(std::to_string(key - 111));
  return std::nullopt;
}

std::string HotkeyText(std::uint16_t hotkey, std::string_view layoutKeyName) {
  if (hotkey == 0) return {};
  const auto key = static_cast<std::uint8_t>(hotkey & 0xFF);
  const auto modifiers = static_cast<std::uint8_t>(hotkey >> 8);
  std::string text;
  if (modifiers & 0x01) text += "SHIFT+";
  if (modifiers & 0x02) text += "CTRL+";
  if (modifiers & 0x04) text += "ALT+";
  if (modifiers & 0x08) text += "Extended+";
  const std::optional<std::string> own = OwnKeyName(key);
  return text + (own ? *own : std::string(layoutKeyName));
}

namespace {
// Windows takes "/" for a separator too (no trail byte is a "/", in any code page).
bool EndsWithSeparator(std::string_view text, const LeadBytes& lead) {
  if (text.empty()) return false;
  if (text.back() == '/') return true;
  return text.back() == '\\' && !IsTrailByteAt(text, text.size() - 1, lead);
}
bool IsDriveRoot(std::string_view text) {
  return text.size() == 3 && text[1] == ':' && (text[2] == '\\' || text[2] == '/');
}
}  // namespace

std::string WorkingFolderOf(std::string_view target, const LeadBytes& lead) {
  while (EndsWithSeparator(target, lead) && target.size() > 1 && !IsDriveRoot(target))
    target.remove_suffix(1);
  // The last separator that is a character of its own, not the second byte of one.
  std::size_t cut = std::string_view::npos;
  for (std::size_t i = 0; i < target.size(); i += CharLength(target, i, lead))
    if (target[i] == '\\' || target[i] == '/' || target[i] == ':') cut = i;
  if (cut == std::string_view::npos) return {};
  std::string_view folder = target.substr(0, cut + 1);
  if (EndsWithSeparator(folder, lead) && folder.size() > 1 && !IsDriveRoot(folder))
    folder.remove_suffix(1);
  return std::string(folder);
}

std::string ShortcutFileName(std::string_view folder, std::string_view name,
                             const LeadBytes& lead) {
  return WithTrailingBackslash(folder, lead).append(name).append(".lnk");
}
