// What must differ from one run of a publication to the next: GUIDs, temporary names and the
// plug-in's pseudo-random numbers.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "pure/random.h"

std::string NewGuidText();
// The temporary folder, a fresh braced GUID and "." + extension unless it is blank.
std::string MakeTempFilePath(std::string_view extension);

// The plug-in's generator, seeded from the clock at its first draw so that runs differ. Each
// user keeps an instance of its own (kxRandomFromStr one for the library's life, each wipe
// one for its passes), so what one draws never changes what the other gets.
class ClockSeededRandom {
 public:
  // A value from 0 to range-1.
  std::uint32_t Next(std::uint32_t range);

 private:
  PluginRandom generator_;
  bool seeded_ = false;
};
