// The plug-in's own pseudo-random generator (a 32-bit linear congruential generator), used by
// kxRandomFromStr and by file wiping, each with an instance of its own.
#pragma once

#include <cstdint>

class PluginRandom {
 public:
  // A value from 0 to range-1 (0 for a range of 0).
  std::uint32_t Next(std::uint32_t range) {
    state_ = state_ * 0x08088405u + 1u;
    return static_cast<std::uint32_t>((static_cast<std::uint64_t>(state_) * range) >> 32);
  }
  void Seed(std::uint32_t state) { state_ = state; }
  std::uint32_t State() const { return state_; }

 private:
  std::uint32_t state_ = 0;
};
