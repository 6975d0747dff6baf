// The eight entry points NeoBook calls. They stay thin: bounds-check the id, index the
// catalogue, and catch everything so that no C++ exception ever reaches the host.
#include <exception>
#include <new>

#include "core/catalogue.h"
#include "core/conventions.h"
#include "core/host.h"
#include "platform/resources.h"
#include "resources/resource.h"

namespace {

// The last result-variable slot of the row, where a failure writes "False".
int ResultSlot(const CatalogueRow& row) {
  const auto at = row.kinds.find_last_of(static_cast<char>(kKindVariable));
  return at == std::string_view::npos ? -1 : static_cast<int>(at);
}

void ReportEscapedException(const CatalogueRow& row, Params params, const char* what) noexcept {
  try {
    const std::string text = what
                                 ? FormatResString(IDS_UNEXPECTED_ERROR, {ActionName(row.id), what})
                                 : SystemErrorText(ERROR_NOT_ENOUGH_MEMORY);
    const int slot = ResultSlot(row);
    ReportFailure(slot >= 0 ? Param(params, slot) : std::string(), text);
  } catch (...) {
  }
}

}  // namespace

extern "C" {

void WINAPI nbInitPlugIn(HWND hostValue, char** title, char** publisher, char** hint) {
  try {
    Host().initValue = reinterpret_cast<UINT_PTR>(hostValue);
    if (title) HandOverString(title, LoadResString(IDS_PLUGIN_TITLE));
    if (publisher) HandOverString(publisher, "Tessoran");
    if (hint) HandOverString(hint, LoadResString(IDS_PLUGIN_HINT));
  } catch (...) {
  }
}

void WINAPI nbRegisterPlugIn(AddActionProc addAction, SecondRegistrationProc secondRegistration,
                             GetVariableProc getVariable, SetVariableProc setVariable) {
  try {
    auto& host = Host();
    host.addAction = addAction;
    host.secondRegistration = secondRegistration;
    host.getVariable = getVariable;
    host.setVariable = setVariable;
    RegisterCatalogue();
  } catch (...) {
  }
}

void WINAPI nbRegisterScriptProcessor(ScriptProcessorProc scriptProcessor) {
  Host().scriptProcessor = scriptProcessor;
}

void WINAPI nbRegisterInterfaceAccess(InterfaceAccessProc interfaceAccess) {
  Host().interfaceAccess = interfaceAccess;
}

BOOL WINAPI nbExecAction(int id, char** params) {
  const CatalogueRow* row = FindAction(id);
  if (!row || !row->run) return FALSE;
  try {
    return row->run(params) ? TRUE : FALSE;
  } catch (const std::bad_alloc&) {
    ReportEscapedException(*row, params, nullptr);
  } catch (const std::exception& error) {
    ReportEscapedException(*row, params, error.what());
  } catch (...) {
    ReportEscapedException(*row, params, "unknown");
  }
  return FALSE;
}

BOOL WINAPI nbEditAction(int id, char** params) {
  const CatalogueRow* row = FindAction(id);
  if (!row || !row->edit || row->kinds.empty()) return FALSE;
  try {
    return row->edit(params) ? TRUE : FALSE;
  } catch (...) {
    return FALSE;
  }
}

void WINAPI nbMessage(int, int) {}

void WINAPI nbAbout() {}

}  // extern "C"
