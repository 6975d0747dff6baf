// Process-wide host state: the callbacks NeoBook hands over, and the two operations that
// move texts across the boundary in GlobalAlloc'd memory.
#pragma once

#include <string_view>

#include "core/abi.h"

struct HostCallbacks {
  UINT_PTR initValue = 0;
  AddActionProc addAction = nullptr;
  SecondRegistrationProc secondRegistration = nullptr;
  GetVariableProc getVariable = nullptr;
  SetVariableProc setVariable = nullptr;
  ScriptProcessorProc scriptProcessor = nullptr;
  InterfaceAccessProc interfaceAccess = nullptr;
};

HostCallbacks& Host();

// Releases the slot's old text, then stores a GMEM_FIXED copy of `text` in it.
// Throws std::bad_alloc (caught at the export) when the allocation fails; the slot is null then.
void HandOverString(char** slot, std::string_view text);

// Frees the slot's text with GlobalFree (if any) and nulls the slot.
void ReleaseHostString(char** slot);
