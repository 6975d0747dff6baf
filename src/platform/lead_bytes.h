// The lead bytes of the system's ANSI code page: the one answer to "does this byte start a
// double-byte character?" for the text rules, the date patterns and the path rules.
#pragma once

#include "pure/string_rules.h"

// All false on single-byte code pages, so the rules then work byte by byte exactly.
const LeadBytes& AnsiLeadBytes();
// The same answer for one byte, for rules that take a predicate (the date pattern language).
bool IsAnsiLeadByte(unsigned char byte);
