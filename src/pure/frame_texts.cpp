#include "pure/frame_texts.h"

#include <array>

#include "pure/text.h"

std::string ScriptToEditorText(std::string_view field) {
  return ReplaceAll(ReplaceAll(field, "[#13]", "\r"), "[#10]", "\n");
}

std::string EditorTextToScript(std::string_view answer) {
  return ReplaceAll(answer, "\r\n", "[#13][#10]");
}

namespace {

struct NamedColor {
  std::string_view name;
  std::uint32_t value;
};

// The toolkit's colour constants (standard, extended and the system colours it names).
constexpr std::array<NamedColor, 46> kColors = {{
    {"clBlack", 0x000000},
    {"clMaroon", 0x000080},
    {"clGreen", 0x008000},
    {"clOlive", 0x008080},
    {"clNavy", 0x800000},
    {"clPurple", 0x800080},
    {"clTeal", 0x808000},
    {"clGray", 0x808080},
    {"clSilver", 0xC0C0C0},
    {"clRed", 0x0000FF},
    {"clLime", 0x00FF00},
    {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},
    {"clFuchsia", 0xFF00FF},
    {"clAqua", 0xFFFF00},
    {"clWhite", 0xFFFFFF},
    {"clMoneyGreen", 0xC0DCC0},
    {"clSkyBlue", 0xF0CAA6},
    {"clCream", 0xF0FBFF},
    {"clMedGray", 0xA4A0A0},
    {"clLtGray", 0xC0C0C0},
    {"clDkGray", 0x808080},
    {"clScrollBar", 0x80000000},
    {"clBackground", 0x80000001},
    {"clActiveCaption", 0x80000002},
    {"clInactiveCaption", 0x80000003},
    {"clMenu", 0x80000004},
    {"clWindow", 0x80000005},
    {"clWindowFrame", 0x80000006},
    {"clMenuText", 0x80000007},
    {"clWindowText", 0x80000008},
    {"clCaptionText", 0x80000009},
    {"clActiveBorder", 0x8000000A},
    {"clInactiveBorder", 0x8000000B},
    {"clAppWorkSpace", 0x8000000C},
    {"clHighlight", 0x8000000D},
    {"clHighlightText", 0x8000000E},
    {"clBtnFace", 0x8000000F},
    {"clBtnShadow", 0x80000010},
    {"clGrayText", 0x80000011},
    {"clBtnText", 0x80000012},
    {"clInactiveCaptionText", 0x80000013},
    {"clBtnHighlight", 0x80000014},
    {"cl3DDkShadow", 0x80000015},
    {"cl3DLight", 0x80000016},
    {"clInfoBk", 0x80000018},
}};

}  // namespace

std::optional<std::uint32_t> ParseColorAnswer(std::string_view answer) {
  const std::string_view text = TrimView(answer);
  for (const auto& color : kColors) {
    if (EqualsAsciiNoCase(text, color.name)) return color.value;
  }
  if (const auto number = ParseInteger(text)) {
    const auto value = static_cast<std::uint32_t>(*number);
    return IsSystemColor(value) ? value : value & 0xFFFFFFu;
  }
  return std::nullopt;
}

std::string AppendPath(std::string_view field, std::string_view path) {
  if (field.empty()) return std::string(path);
  std::string text(field);
  text += '|';
  text += path;
  return text;
}
