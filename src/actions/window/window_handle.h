// Window handles as scripts write them: an integer text, usually the decimal value NeoBook
// keeps in [WinHandle].
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string_view>

#include "pure/text.h"

// Strictly parsed; null when the text is not an integer. Window handles carry 32 significant
// bits in 32- and 64-bit processes alike and widen with their sign, as Windows itself widens
// them between the two.
inline std::optional<HWND> ParseWindowHandle(std::string_view text) {
  const std::optional<std::int32_t> value = ParseInteger(text);
  if (!value) return std::nullopt;
  return reinterpret_cast<HWND>(static_cast<std::intptr_t>(*value));
}
