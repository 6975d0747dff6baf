// The action catalogue: the vocabulary zaDode adds to NeoBook's script language, in
// registration order. A row is the action's identity: its id, script name, parameter kinds
// and run routine; the string table holds only what is translated (hints, category titles).
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

constexpr int kActionCount = 95;
constexpr int kCatalogueRows = 107;
constexpr int kMaxParams = 8;

// The kind codes the host shows for each parameter, in slot order.
enum class ParamKind : unsigned char { None = 0, Text = 1, Number = 3, Variable = 6 };

// One kind per parameter slot. The codes after the last kind stay None, so a row without
// parameters hands the host the single placeholder byte 0 it expects.
class ParamKinds {
 public:
  constexpr ParamKinds() = default;
  constexpr ParamKinds(std::initializer_list<ParamKind> kinds) {
    for (const ParamKind kind : kinds) codes_[count_++] = kind;
  }
  constexpr int count() const { return count_; }
  constexpr ParamKind operator[](int slot) const { return codes_[slot]; }
  // The code bytes as the host's AddAction takes them.
  const unsigned char* bytes() const {
    return reinterpret_cast<const unsigned char*>(codes_.data());
  }

 private:
  std::array<ParamKind, kMaxParams> codes_{};
  int count_ = 0;
};

struct ActionCall;
using RunRoutine = bool (*)(const ActionCall& call);

struct CatalogueRow {
  int id;                 // 1..95 for actions, 0 for a category heading
  std::string_view name;  // the action's script name; empty for a heading
  std::uint16_t text;     // string id: the action's hint, or the heading's category title
  ParamKinds kinds;
  RunRoutine run;  // null for a heading

  // The slot of the last result variable, where a failure writes "False"; -1 for none.
  constexpr int ResultSlot() const {
    for (int slot = kinds.count() - 1; slot >= 0; --slot)
      if (kinds[slot] == ParamKind::Variable) return slot;
    return -1;
  }
};

// The row of action `id`, or null for 0, negative ids and ids above 95.
const CatalogueRow* FindAction(int id);

// Calls the host's AddAction once per row, hints and category titles loaded from the string
// table.
void RegisterCatalogue();

// The host's parameter slots: zero-terminated ANSI texts, read-only, at most eight.
using Params = const char* const*;

// What the dispatcher hands a run routine: the action's row and the host's slots.
struct ActionCall {
  const CatalogueRow& row;
  Params params;

  // Slot `index` where the host keeps it; a null block or slot reads as an empty text.
  const char* Text(int index) const { return params && params[index] ? params[index] : ""; }
  // A copy of slot `index`.
  std::string Param(int index) const;
  // The name in the row's result slot, empty when the row has none.
  std::string ResultVariable() const;
};
