// The user's regional date and time settings, in the plug-in's pattern language.
#pragma once

#include "pure/datetime.h"

// Read from Windows on first use and kept for the life of the library: a publication sees
// the same formats from its first date action to its last.
const LocaleFormats& UserLocaleFormats();

// The current year of the local clock, for the two-number and two-digit-year date texts.
int CurrentLocalYear();
