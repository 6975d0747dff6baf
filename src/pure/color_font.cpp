#include "pure/color_font.h"

#include "pure/text.h"

std::string ColorToText(std::uint32_t color) {
  return std::to_string(color & 0xFF) + "," + std::to_string((color >> 8) & 0xFF) + "," +
         std::to_string((color >> 16) & 0xFF);
}

std::int32_t TextToColor(std::string_view text) {
  const auto pieces = SplitText(",", text);
  if (pieces.size() != 3) return -1;
  const auto r = static_cast<std::uint32_t>(ParseLenient(pieces[0], 0));
  const auto g = static_cast<std::uint32_t>(ParseLenient(pieces[1], 0));
  const auto b = static_cast<std::uint32_t>(ParseLenient(pieces[2], 0));
  return static_cast<std::int32_t>(r + g * 256u + b * 65536u);
}

namespace {
constexpr struct {
  FontStyle style;
  std::string_view word;
} kStyleWords[] = {{kFontBold, "Bold"},
                   {kFontItalic, "Italic"},
                   {kFontUnderline, "Underline"},
                   {kFontStrikeout, "Strikeout"}};
}  // namespace

std::string FontStyleText(unsigned styles) {
  std::string out;
  for (const auto& [style, word] : kStyleWords) {
    if (!(styles & style)) continue;
    if (!out.empty()) out += '+';
    out += word;
  }
  return out;
}

std::string FontToText(const FontSpec& font) {
  // Appended piece by piece: the chain of operator+ on temporaries draws a false -Wrestrict
  // from GCC 12.
  std::string out = font.name;
  out.append("|").append(std::to_string(font.size)).append("|");
  out.append(ColorToText(static_cast<std::uint32_t>(font.color)));
  if (font.styles) out.append("|").append(FontStyleText(font.styles));
  return out;
}

FontSpec TextToFont(std::string_view text) {
  FontSpec font;
  const auto pieces = SplitText("|", text);
  if (pieces.size() <= 2) return font;
  font.name = pieces[0];
  font.size = ParseLenient(pieces[1], 10);
  font.color = TextToColor(pieces[2]);
  if (pieces.size() == 4) {
    for (const auto& [style, word] : kStyleWords) {
      if (pieces[3].find(word) != std::string::npos) font.styles |= style;
    }
  }
  return font;
}

std::string_view CharsetName(int charset) {
  switch (charset) {
    case 0:
      return "ANSI_CHARSET";
    case 2:
      return "SYMBOL_CHARSET";
    case 128:
      return "SHIFTJIS_CHARSET";
    case 129:
      return "HANGEUL_CHARSET";
    case 130:
      return "JOHAB_CHARSET";
    case 134:
      return "GB2312_CHARSET";
    case 136:
      return "CHINESEBIG5_CHARSET";
    case 161:
      return "GREEK_CHARSET";
    case 162:
      return "TURKISH_CHARSET";
    case 163:
      return "VIETNAMESE_CHARSET";
    case 177:
      return "HEBREW_CHARSET";
    case 178:
      return "ARABIC_CHARSET";
    case 204:
      return "RUSSIAN_CHARSET";
    case 222:
      return "THAI_CHARSET";
    case 238:
      return "EASTEUROPE_CHARSET";
    case 255:
      return "OEM_CHARSET";
    default:
      return "DEFAULT_CHARSET";
  }
}
