// The action catalogue: the vocabulary zaDode adds to NeoBook's script language, in
// registration order, with the run and edit routine of every action.
#pragma once

#include <array>
#include <string_view>

#include "actions/actions.h"

constexpr int kActionCount = 95;
constexpr int kCatalogueRows = 107;

enum ParamKind : unsigned char { kKindNone = 0, kKindText = 1, kKindNumber = 3, kKindVariable = 6 };

struct CatalogueRow {
  int id;                  // 1..95 for actions, 0 for a category heading
  int category;            // heading number for headings, -1 for actions
  std::string_view kinds;  // one ParamKind byte per parameter, in slot order
  RunRoutine run;          // null until the action is built: the id answers false
  EditRoutine edit;        // null: nbEditAction answers false
};

const std::array<CatalogueRow, kCatalogueRows>& Catalogue();

// The row of action `id`, or null for 0, negative ids and ids above 95.
const CatalogueRow* FindAction(int id);

// Calls the host's AddAction once per row, names and hints loaded from the string table.
void RegisterCatalogue();
