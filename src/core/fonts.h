// The screen's DPI and the system's font dialog, in the terms of the plug-in's font texts:
// kxFontDialog and the property forms' Font button start it and read it back alike.
#pragma once

#include <windows.h>

#include <optional>

#include "pure/color_font.h"

// The screen's dots per inch (96 when it cannot be read).
int ScreenPixelsPerInch();

// The LOGFONT that shows `font` on a device of `dpi` dots per inch.
LOGFONTA LogFontFrom(const FontSpec& font, int dpi);

// The size in points of what the user chose: from the character height the dialog set, so a
// size typed between two list entries comes back as the system rounded it (10.5 gives 11);
// from the dialog's tenths of a point, rounded, when it set no character height.
int PointSizeOf(const LOGFONTA& chosen, int pointTenths, int dpi);

struct FontChoice {
  FontSpec font;
  BYTE charset = DEFAULT_CHARSET;
};

// Shows the font dialog over `owner`, started from `initial` (black when its colour is
// unreadable); nullopt when the user cancels.
std::optional<FontChoice> ChooseFontFrom(HWND owner, const FontSpec& initial);
