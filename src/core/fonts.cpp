#include "core/fonts.h"

// commdlg.h builds on the types that windows.h declares.
#include <commdlg.h>

#include "platform/raii.h"
#include "platform/seams.h"

int ScreenPixelsPerInch() {
  const WindowDC screen(nullptr, GetDC(nullptr));
  const int dpi = screen ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 0;
  return dpi > 0 ? dpi : 96;
}

LOGFONTA LogFontFrom(const FontSpec& font, int dpi) {
  LOGFONTA logFont{};
  logFont.lfHeight = -MulDiv(font.size, dpi, 72);
  logFont.lfWeight = (font.styles & kFontBold) ? FW_BOLD : FW_NORMAL;
  logFont.lfItalic = (font.styles & kFontItalic) ? TRUE : FALSE;
  logFont.lfUnderline = (font.styles & kFontUnderline) ? TRUE : FALSE;
  logFont.lfStrikeOut = (font.styles & kFontStrikeout) ? TRUE : FALSE;
  logFont.lfCharSet = DEFAULT_CHARSET;
  logFont.lfOutPrecision = OUT_DEFAULT_PRECIS;
  logFont.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  logFont.lfQuality = DEFAULT_QUALITY;
  logFont.lfPitchAndFamily = DEFAULT_PITCH;
  // Longer names cannot name an installed font; the cut keeps the terminating zero.
  font.name.copy(logFont.lfFaceName, sizeof(logFont.lfFaceName) - 1);
  return logFont;
}

int PointSizeOf(const LOGFONTA& chosen, int pointTenths, int dpi) {
  if (chosen.lfHeight < 0) return MulDiv(-chosen.lfHeight, 72, dpi);
  return (pointTenths + 5) / 10;
}

std::optional<FontChoice> ChooseFontFrom(HWND owner, const FontSpec& initial) {
  const int dpi = ScreenPixelsPerInch();
  LOGFONTA logFont = LogFontFrom(initial, dpi);
  CHOOSEFONTA dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpLogFont = &logFont;
  dialog.Flags = CF_SCREENFONTS | CF_EFFECTS | CF_INITTOLOGFONTSTRUCT;
  dialog.rgbColors = initial.color < 0 ? RGB(0, 0, 0) : static_cast<COLORREF>(initial.color);
  if (!Seams().chooseFont(&dialog)) return std::nullopt;
  FontChoice choice;
  choice.font.name = logFont.lfFaceName;
  choice.font.size = PointSizeOf(logFont, dialog.iPointSize, dpi);
  choice.font.color = static_cast<std::int32_t>(dialog.rgbColors & 0xFFFFFF);
  choice.font.styles =
      (logFont.lfWeight >= FW_BOLD ? kFontBold : 0u) | (logFont.lfItalic ? kFontItalic : 0u) |
      (logFont.lfUnderline ? kFontUnderline : 0u) | (logFont.lfStrikeOut ? kFontStrikeout : 0u);
  choice.charset = logFont.lfCharSet;
  return choice;
}
