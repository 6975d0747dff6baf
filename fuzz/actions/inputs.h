// Parameter texts for the fuzz driver, drawn from a seeded generator so that every call can
// be made again from the seed and its number.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "table.h"

namespace fuzz {

struct Sandbox {
  std::string root;  // full path, no final "\"
  std::vector<std::string> files, folders;
};

class InputMaker {
 public:
  InputMaker(const Sandbox& sandbox, HWND ownWindow, std::string dateSeparator);
  // The parameter block of call `number` under `seed`: one entry per slot, nullopt for a null
  // pointer.
  std::vector<std::optional<std::string>> Make(std::uint64_t seed, std::uint64_t number,
                                               const ActionClass& action);

 private:
  std::string Text();
  std::string Piece();
  std::string Number();
  std::string Variable();
  std::string Names();
  std::string ReadPath();
  std::string WritePath();
  std::string Host();
  std::string Program();
  std::string Window();
  std::string Date();
  std::string Keywords();
  std::string Script();
  std::string Slot(char kind);
  std::uint64_t Below(std::uint64_t n) { return n ? rng_() % n : 0; }
  bool OneIn(std::uint64_t n) { return Below(n) == 0; }

  const Sandbox& sandbox_;
  HWND ownWindow_;
  std::string dateSeparator_;
  std::mt19937_64 rng_;
  std::vector<std::string> huge_;  // 1 MB texts, made once
  std::vector<std::string> runningPrograms_;
};

// A printable form of a parameter block for the report: bytes above 126 and below 32 as
// \xNN, long texts shortened with their length.
std::string Describe(const std::vector<std::optional<std::string>>& params);

}  // namespace fuzz
