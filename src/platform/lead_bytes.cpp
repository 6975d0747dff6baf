#include "platform/lead_bytes.h"

#include <windows.h>

const LeadBytes& AnsiLeadBytes() {
  // The code page is the process's for its whole life.
  static const LeadBytes lead = [] {
    LeadBytes table{};
    const UINT codePage = GetACP();
    for (int b = 0x80; b < 0x100; ++b)
      table[b] = IsDBCSLeadByteEx(codePage, static_cast<BYTE>(b)) != FALSE;
    return table;
  }();
  return lead;
}

bool IsAnsiLeadByte(unsigned char byte) { return AnsiLeadBytes()[byte]; }
