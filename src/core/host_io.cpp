#include "core/host_io.h"

#include "core/host.h"
#include "platform/resources.h"
#include "pure/text.h"
#include "resources/resource.h"

void SetResultVariable(std::string_view name, std::string_view value) {
  if (IsBlank(name)) return;
  const auto set = Host().setVariable;
  if (!set) return;
  const std::string nameText(name), valueText(value);
  set(nameText.c_str(), valueText.c_str());
}

void SetLargeResultVariable(std::string_view name, const char* value) {
  if (IsBlank(name)) return;
  const auto set = Host().setVariable;
  if (!set) return;
  const std::string nameText(name);
  set(nameText.c_str(), value);
}

void SetIndexedVariable(int index, std::string_view name, std::string_view value) {
  if (IsBlank(name)) return;
  SetResultVariable(std::string(name) + std::to_string(index), value);
}

namespace {

// A string slot the host reads or fills; whatever block it holds at the end goes back to the
// system, also when copying the answer out fails.
class HostSlot {
 public:
  HostSlot() = default;
  HostSlot(const HostSlot&) = delete;
  HostSlot& operator=(const HostSlot&) = delete;
  ~HostSlot() { ReleaseHostString(&text_); }
  char** get() { return &text_; }
  std::string Copy() const { return text_ ? text_ : ""; }

 private:
  char* text_ = nullptr;
};

}  // namespace

std::string GetHostVariable(std::string_view name) {
  const auto get = Host().getVariable;
  if (!get) return {};
  const std::string nameText(name);
  HostSlot slot;
  get(nameText.c_str(), slot.get());
  return slot.Copy();
}

void PlayScript(std::string_view script) {
  const auto play = Host().scriptProcessor;
  if (!play) return;
  const std::string text(script);
  play(text.c_str());
}

void ClearHostVariable(std::string_view name) {
  // The name goes into double-quoted script parameters: a quote or a line break in it would
  // end the parameter or the line and let the rest run as further commands.
  const std::string quoted = EscapeScriptParameter(name);
  PlayScript("DefineVar \"" + quoted + "\" \"Undefined\" \"\" \"Global\" \"\"");
  PlayScript("ClearVariables \"" + quoted + "\"");
}

std::string HostVersionText() {
  const auto access = Host().interfaceAccess;
  if (!access) return {};
  HostSlot slot;
  access(kRequestVersion, slot.get());
  return slot.Copy();
}

void ShowHostMessage(std::string_view message) {
  const auto access = Host().interfaceAccess;
  if (!access) return;
  HostSlot slot;
  HandOverString(slot.get(), message);
  access(kRequestMessage, slot.get());
}

std::string OpenHostPicker(int kind, std::string_view current) {
  static constexpr int kRequests[] = {kRequestActionEditor, kRequestInsertVariable,
                                      kRequestUnusedPicker, kRequestObjectList,
                                      kRequestObjectList2,  kRequestColor};
  const std::string version = HostVersionText();
  // A version text that does not start with a digit counts as a host older than 5.
  const bool version5 = !version.empty() && version[0] >= '5' && version[0] <= '9';
  if ((kind == 1 || kind == 2) && !version5) {
    ShowHostMessage(LoadResString(IDS_NEEDS_VERSION_5));
    return {};
  }
  const auto access = Host().interfaceAccess;
  if (!access || kind < 0 || kind > 5) return {};
  std::string field(current);
  char* slot = field.data();
  access(kRequests[kind], &slot);
  return slot ? std::string(slot) : std::string();
}
