#include "host.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <stdexcept>

namespace {

// The rest of nbhost's output is UTF-8 (main.cpp); an echoed message must not mix code pages.
std::string AnsiToUtf8(const std::string& ansi) {
  const int size = static_cast<int>(ansi.size());
  const int wide = MultiByteToWideChar(CP_ACP, 0, ansi.data(), size, nullptr, 0);
  std::wstring text(static_cast<size_t>(wide), L'\0');
  MultiByteToWideChar(CP_ACP, 0, ansi.data(), size, text.data(), wide);
  const int bytes =
      WideCharToMultiByte(CP_UTF8, 0, text.data(), wide, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), wide, out.data(), bytes, nullptr, nullptr);
  return out;
}

NbHost* g_active = nullptr;

char* GlobalCopy(const std::string& text) {
  auto* block = static_cast<char*>(GlobalAlloc(GMEM_FIXED, text.size() + 1));
  if (block) std::memcpy(block, text.c_str(), text.size() + 1);
  return block;
}

void FreeSlot(char*& slot) {
  if (slot) GlobalFree(slot);
  slot = nullptr;
}

template <typename T>
T As(FARPROC proc) {
  return reinterpret_cast<T>(reinterpret_cast<void*>(proc));
}

}  // namespace

class CallbackTimer {
 public:
  explicit CallbackTimer(NbHost* host) : host_(host) {
    if (host_ && host_->callbackDepth_++ == 0) QueryPerformanceCounter(&start_);
  }
  ~CallbackTimer() {
    if (!host_ || --host_->callbackDepth_ != 0) return;
    LARGE_INTEGER end, frequency;
    QueryPerformanceCounter(&end);
    QueryPerformanceFrequency(&frequency);
    host_->callbackSeconds += static_cast<double>(end.QuadPart - start_.QuadPart) /
                              static_cast<double>(frequency.QuadPart);
  }
  CallbackTimer(const CallbackTimer&) = delete;
  CallbackTimer& operator=(const CallbackTimer&) = delete;

 private:
  NbHost* host_;
  LARGE_INTEGER start_{};
};

std::string StripBrackets(const std::string& name) {
  if (name.size() >= 2 && name.front() == '[' && name.back() == ']')
    return name.substr(1, name.size() - 2);
  return name;
}

NbHost::NbHost(const std::string& pluginPath, bool registerInterface) {
  module_ = LoadLibraryA(pluginPath.c_str());
  if (!module_) throw std::runtime_error("cannot load plug-in " + pluginPath);
  const struct {
    const char* name;
    FARPROC* slot;
  } entries[] = {{"nbInitPlugIn", &exports_.init},
                 {"nbRegisterPlugIn", &exports_.registerPlugIn},
                 {"nbRegisterScriptProcessor", &exports_.registerScriptProcessor},
                 {"nbRegisterInterfaceAccess", &exports_.registerInterfaceAccess},
                 {"nbExecAction", &exports_.exec},
                 {"nbEditAction", &exports_.edit},
                 {"nbMessage", &exports_.message},
                 {"nbAbout", &exports_.about}};
  for (const auto& entry : entries) {
    *entry.slot = GetProcAddress(module_, entry.name);
    if (!*entry.slot) {
      FreeLibrary(module_);
      throw std::runtime_error(std::string("plug-in lacks export ") + entry.name);
    }
  }
  Start(registerInterface);
}

NbHost::NbHost(const PluginExports& exports, bool registerInterface) : exports_(exports) {
  Start(registerInterface);
}

void NbHost::Start(bool registerInterface) {
  g_active = this;
  char* title = nullptr;
  char* publisher = nullptr;
  char* hint = nullptr;
  Init(&title, &publisher, &hint);
  this->title = title ? title : "";
  this->publisher = publisher ? publisher : "";
  this->hint = hint ? hint : "";
  FreeSlot(title);
  FreeSlot(publisher);
  FreeSlot(hint);
  As<RegisterPlugInProc>(exports_.registerPlugIn)(&AddActionCb, nullptr, &GetVariableCb,
                                                  &SetVariableCb);
  As<RegisterScriptProcessorProc>(exports_.registerScriptProcessor)(&ScriptProcessorCb);
  if (registerInterface)
    As<RegisterInterfaceAccessProc>(exports_.registerInterfaceAccess)(&InterfaceAccessCb);
}

NbHost::~NbHost() {
  if (g_active == this) g_active = nullptr;
  if (module_) FreeLibrary(module_);
}

std::string NbHost::DefaultPluginPath() {
  char path[MAX_PATH * 2] = {};
  GetModuleFileNameA(nullptr, path, sizeof path - 1);
  std::string dir(path);
  const auto cut = dir.find_last_of("\\/");
  return (cut == std::string::npos ? std::string() : dir.substr(0, cut + 1)) + "zaDode.nbp";
}

FARPROC NbHost::Export(const char* name) const {
  return module_ ? GetProcAddress(module_, name) : nullptr;
}

void NbHost::Init(char** title, char** publisher, char** hint) {
  As<InitPlugInProc>(exports_.init)(reinterpret_cast<HWND>(static_cast<INT_PTR>(0x4E42)), title,
                                    publisher, hint);
}

bool NbHost::Exec(int id, const std::vector<const char*>& params) {
  // The host passes exactly the slots it has, with their highest index: a plug-in that reads
  // past it reads whatever follows in memory, as it would in NeoBook.
  std::vector<char*> block;
  for (const char* p : params) block.push_back(const_cast<char*>(p));
  g_active = this;
  return As<ExecActionProc>(exports_.exec)(id, block.data(), static_cast<int>(block.size()) - 1) !=
         FALSE;
}

bool NbHost::Exec(int id, const std::vector<std::string>& params) {
  std::vector<const char*> pointers;
  for (const auto& p : params) pointers.push_back(p.c_str());
  return Exec(id, pointers);
}

bool NbHost::Exec(const std::string& actionName, const std::vector<std::string>& params) {
  const CatalogueEntry* entry = FindEntry(actionName);
  if (!entry) throw std::runtime_error("no action " + actionName);
  return Exec(entry->id, params);
}

bool NbHost::Edit(int id, std::vector<char*>& slots) {
  g_active = this;
  return As<EditActionProc>(exports_.edit)(id, slots.data(), static_cast<int>(slots.size()) - 1) !=
         FALSE;
}

const CatalogueEntry* NbHost::FindEntry(const std::string& name) const {
  for (const auto& entry : catalogue_) {
    if (entry.id != 0 && lstrcmpiA(entry.name.c_str(), name.c_str()) == 0) return &entry;
  }
  return nullptr;
}

std::string NbHost::Key(std::string name) {
  name = StripBrackets(name);
  if (!name.empty()) CharLowerBuffA(name.data(), static_cast<DWORD>(name.size()));
  return name;
}

const std::string* NbHost::Find(const std::string& name) const {
  const auto found = index_.find(Key(name));
  return found == index_.end() ? nullptr : &found->second->second;
}

std::optional<std::string> NbHost::Var(const std::string& name) const {
  const std::string* value = Find(name);
  if (!value) return std::nullopt;
  return *value;
}

void NbHost::SetVar(const std::string& name, std::string value) {
  const std::string bare = StripBrackets(name);
  const std::string key = Key(bare);
  const auto found = index_.find(key);
  if (found != index_.end()) {
    found->second->second = std::move(value);
    return;
  }
  vars_.emplace_back(bare, std::move(value));
  index_.emplace(key, std::prev(vars_.end()));
  if (!pendingHeadings_.empty()) headings_[key] = std::exchange(pendingHeadings_, {});
}

const std::vector<std::string>& NbHost::HeadingsBefore(const std::string& name) const {
  static const std::vector<std::string> kNone;
  const auto found = headings_.find(Key(name));
  return found == headings_.end() ? kNone : found->second;
}

void NbHost::ClearVariables(const std::string& name) {
  if (StripBrackets(name).empty()) {
    vars_.clear();
    // With its buckets, which clear() keeps sized for the most variables there ever were.
    index_ = decltype(index_)();
    headings_.clear();
    return;
  }
  const auto found = index_.find(Key(name));
  if (found == index_.end()) return;
  vars_.erase(found->second);
  headings_.erase(found->first);
  index_.erase(found);
}

bool NbHost::SaveVariables(const std::string& path) const {
  std::string text;
  for (const auto& [name, value] : vars_)
    text.append(name).append("=").append(value).append("\r\n");
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) return false;
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  return static_cast<bool>(out);
}

void NbHost::ClearLogs() {
  setCalls.clear();
  getCalls.clear();
  scripts.clear();
  messages.clear();
  requests.clear();
  scriptErrors.clear();
  falseAnswers.clear();
  pickerTexts.clear();
}

void HOSTCALL NbHost::AddActionCb ADD_ACTION_PARAMETERS(id, name, hint, kinds, highIndex, count) {
  if (!g_active) return;
  CatalogueEntry entry;
  entry.id = id;
  entry.name = name ? name : "";
  entry.hint = hint ? hint : "";
  if (kinds && highIndex >= 0) entry.kinds.assign(kinds, kinds + highIndex + 1);
  entry.highIndex = highIndex;
  entry.count = count & 0xFF;  // NumParams is a Byte: only the low byte of its slot counts
  g_active->catalogue_.push_back(std::move(entry));
}

void HOSTCALL NbHost::GetVariableCb(const char* name, char** value) {
  if (!g_active || !value) return;
  const CallbackTimer timer(g_active);
  g_active->getCalls.emplace_back(name ? name : "");
  if (g_active->getVariableReturnsNull) return;
  if (const std::string* found = g_active->Find(name ? name : "")) *value = GlobalCopy(*found);
}

void HOSTCALL NbHost::SetVariableCb(const char* name, const char* value) {
  if (!g_active) return;
  const CallbackTimer timer(g_active);
  if (g_active->recordSetCalls)
    g_active->setCalls.push_back({name ? name : "", value ? value : ""});
  g_active->SetVar(name ? name : "", value ? value : "");
}

void HOSTCALL NbHost::ScriptProcessorCb(const char* script) {
  NbHost* host = g_active;
  if (!host) return;
  const CallbackTimer timer(host);
  const std::string text = script ? script : "";
  host->scripts.push_back(text);
  if (host->scriptHook) {
    host->scriptHook(text);
    return;
  }
  std::string error;
  if (!host->RunScript(text, &error)) {
    host->scriptErrors.push_back(error);
    std::fprintf(stderr, "nbhost: script from plug-in: %s\n", error.c_str());
  }
  g_active = host;
}

HostBool HOSTCALL NbHost::InterfaceAccessCb(int request, char** text) {
  NbHost* host = g_active;
  if (!host || !text) return FALSE;
  const CallbackTimer timer(host);
  host->requests.push_back(request);
  switch (request) {
    case 6:
      if (host->versionText) *text = GlobalCopy(*host->versionText);
      return TRUE;
    case 9:
      host->messages.emplace_back(*text ? *text : "");
      if (host->echoMessages) std::printf("message: %s\n", AnsiToUtf8(*text ? *text : "").c_str());
      return TRUE;
    case 1:
    case 2:
    case 8:
    case 10:
    case 13:
    case 14:
      host->pickerTexts.emplace_back(*text ? *text : "");
      if (!host->pickerAnswers.empty()) {
        const auto answer = host->pickerAnswers.front();
        host->pickerAnswers.pop_front();
        if (answer) {
          host->pickerStorage_ = *answer;
          *text = host->pickerStorage_.data();
        }
      } else if (host->pickerHook) {
        if (auto answer = host->pickerHook(request, host->pickerTexts.back())) {
          host->pickerStorage_ = std::move(*answer);
          *text = host->pickerStorage_.data();
        }
      }
      return TRUE;
    default:
      return FALSE;
  }
}
