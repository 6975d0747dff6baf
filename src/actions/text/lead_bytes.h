// The lead bytes of the ANSI code page, for the text rules that step by whole characters.
#pragma once

#include <windows.h>

#include "pure/string_rules.h"

// All false on single-byte code pages, so the rules then work byte by byte exactly.
inline LeadBytes AnsiLeadBytes() {
  LeadBytes lead{};
  const UINT codePage = GetACP();
  for (int b = 0x80; b < 0x100; ++b) lead[b] = IsDBCSLeadByteEx(codePage, static_cast<BYTE>(b));
  return lead;
}
