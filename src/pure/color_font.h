// Colour and font texts shared by the dialog actions and their property forms.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// "R,G,B" in decimal from a colour whose low byte is red.
std::string ColorToText(std::uint32_t color);
// Exactly three comma-separated pieces, each read leniently (default 0), combined as
// R + G*256 + B*65536 without clamping; anything else is -1.
std::int32_t TextToColor(std::string_view text);

enum FontStyle : unsigned {
  kFontBold = 1,
  kFontItalic = 2,
  kFontUnderline = 4,
  kFontStrikeout = 8
};

struct FontSpec {
  // The defaults of a new font in the plug-in's forms.
  std::string name = "Tahoma";
  std::int32_t size = 8;
  std::int32_t color = 0;
  unsigned styles = 0;
  bool operator==(const FontSpec&) const = default;
};

std::string FontStyleText(unsigned styles);
// "Name|Size|R,G,B", plus "|Style+Style" only when a style is set.
std::string FontToText(const FontSpec& font);
FontSpec TextToFont(std::string_view text);

// The Windows constant name of a character set number; DEFAULT_CHARSET for unknown ones.
std::string_view CharsetName(int charset);
