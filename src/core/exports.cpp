// The eight entry points NeoBook calls. They stay thin: bounds-check the id, index the
// catalogue, and catch everything so that no C++ exception ever reaches the host.
#include <algorithm>
#include <array>
#include <exception>
#include <new>

#include "core/catalogue.h"
#include "core/failures.h"
#include "core/host.h"
#include "editor/about_box.h"
#include "editor/form_layer.h"
#include "platform/resources.h"
#include "resources/resource.h"

namespace {

void ReportEscapedException(const ActionCall& call, const char* what) noexcept {
  try {
    const std::string text = what ? FormatResString(IDS_UNEXPECTED_ERROR, {call.row.name, what})
                                  : SystemErrorText(ERROR_NOT_ENOUGH_MEMORY);
    ReportFailure(call.ResultVariable(), text);
  } catch (...) {
  }
}

// The slots the host passed, padded to eight: a slot past the host's highest index reads as
// empty and is never read from the host's memory.
class SlotBlock {
 public:
  enum Access { kReadOnly, kEdit };
  SlotBlock(char** hostSlots, int highIndex, Access access)
      : host_(hostSlots),
        count_(hostSlots && highIndex >= 0 ? std::min(highIndex + 1, kMaxParams) : 0),
        access_(access) {
    std::copy_n(host_, count_, slots_.begin());
  }
  SlotBlock(const SlotBlock&) = delete;
  SlotBlock& operator=(const SlotBlock&) = delete;
  // An edit routine's slots go back to the host on every path, since a slot it replaced before
  // an exception already holds a freed pointer on the host's side. Its writes beyond the
  // host's block are released: the host never gets a text it has no slot for.
  ~SlotBlock() {
    if (access_ == kEdit) std::copy_n(slots_.begin(), count_, host_);
    for (int i = count_; i < kMaxParams; ++i) ReleaseHostString(&slots_[i]);
  }
  char** get() { return slots_.data(); }

 private:
  char** host_;
  int count_;
  Access access_;
  std::array<char*, kMaxParams> slots_{};
};

}  // namespace

extern "C" {

void HOSTCALL nbInitPlugIn(HWND hostValue, char** title, char** publisher, char** hint) {
  try {
    Host().initValue = reinterpret_cast<UINT_PTR>(hostValue);
    if (title) HandOverString(title, LoadResString(IDS_PLUGIN_TITLE));
    if (publisher) HandOverString(publisher, "Tessoran");
    if (hint) HandOverString(hint, LoadResString(IDS_PLUGIN_HINT));
  } catch (...) {
  }
}

void HOSTCALL nbRegisterPlugIn(AddActionProc addAction, SecondRegistrationProc secondRegistration,
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

void HOSTCALL nbRegisterScriptProcessor(ScriptProcessorProc scriptProcessor) {
  Host().scriptProcessor = scriptProcessor;
}

void HOSTCALL nbRegisterInterfaceAccess(InterfaceAccessProc interfaceAccess) {
  Host().interfaceAccess = interfaceAccess;
}

BOOL HOSTCALL nbExecAction(int id, char** params, int highIndex) {
  const CatalogueRow* row = FindAction(id);
  if (!row) return FALSE;
  SlotBlock slots(params, highIndex, SlotBlock::kReadOnly);
  const ActionCall call{*row, slots.get()};
  try {
    return row->run(call) ? TRUE : FALSE;
  } catch (const std::bad_alloc&) {
    ReportEscapedException(call, nullptr);
  } catch (const std::exception& error) {
    ReportEscapedException(call, error.what());
  } catch (...) {
    ReportEscapedException(call, "unknown");
  }
  return FALSE;
}

BOOL HOSTCALL nbEditAction(int id, char** params, int highIndex) {
  // Actions without parameters, like ids outside 1..95, have no form.
  const FormSpec* form = FindForm(id);
  if (!form) return FALSE;
  try {
    SlotBlock slots(params, highIndex, SlotBlock::kEdit);
    return RunForm(*form, slots.get()) ? TRUE : FALSE;
  } catch (...) {
    return FALSE;
  }
}

void HOSTCALL nbMessage(int, int) {}

void HOSTCALL nbAbout() {
  try {
    ShowAboutBox();
  } catch (...) {
  }
}

}  // extern "C"
