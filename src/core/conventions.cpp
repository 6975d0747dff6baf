#include "core/conventions.h"

#include <objbase.h>
#include <shellapi.h>

#include "core/host.h"
#include "platform/raii.h"
#include "platform/resources.h"
#include "platform/seams.h"
#include "pure/guid_text.h"
#include "pure/random.h"
#include "resources/resource.h"

std::string Param(Params params, int index) {
  if (!params || !params[index]) return {};
  return params[index];
}

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

bool OpenPluginHelp(std::string_view topic) {
  HKEY rawKey = nullptr;
  const std::string keyPath = "Software\\Tessoran\\Vellmark\\" + LoadResString(IDS_PLUGIN_TITLE);
  if (RegOpenKeyExA(HKEY_CURRENT_USER, keyPath.c_str(), 0, KEY_READ, &rawKey) != ERROR_SUCCESS)
    return false;
  RegKey key(rawKey);
  DWORD type = 0, size = 0;
  if (RegQueryValueExA(key.get(), "HelpFile", nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ))
    return false;
  std::string helpFile(size + 1, '\0');
  if (RegQueryValueExA(key.get(), "HelpFile", nullptr, nullptr,
                       reinterpret_cast<BYTE*>(helpFile.data()), &size) != ERROR_SUCCESS)
    return false;
  helpFile.resize(strnlen(helpFile.c_str(), helpFile.size()));
  if (!FileExists(helpFile)) return false;

  const auto htmlHelp = HtmlHelpEntry();
  if (!htmlHelp) return false;
  const std::string target = helpFile + "::\\index.html#" + std::string(topic);
  return htmlHelp(GetActiveWindow(), target.c_str(), 0, 0) != nullptr;
}

bool OpenWithShell(std::string_view file, std::string_view parameters, int showMode) {
  const std::string fileText(file), parameterText(parameters);
  const auto result = reinterpret_cast<INT_PTR>(Seams().shellExecute(
      GetActiveWindow(), "open", fileText.c_str(), parameterText.c_str(), nullptr, showMode));
  return result > 32;
}

std::string NewGuidText() {
  GUID guid{};
  if (FAILED(CoCreateGuid(&guid))) return {};
  return GuidText(guid.Data1, guid.Data2, guid.Data3, guid.Data4);
}

std::string MakeTempFilePath(std::string_view extension) {
  char buffer[MAX_PATH + 1] = {};
  const DWORD length = GetTempPathA(MAX_PATH, buffer);
  std::string folder(buffer, length <= MAX_PATH ? length : 0);
  const auto cut = folder.find_last_of("\\:");
  folder.resize(cut == std::string::npos ? 0 : cut + 1);
  std::string path = folder + NewGuidText();
  if (!IsBlank(extension)) path.append(".").append(extension);
  return path;
}

namespace {
PluginRandom& Generator() {
  static PluginRandom generator;
  return generator;
}
bool& GeneratorSeeded() {
  static bool seeded = false;
  return seeded;
}
}  // namespace

void ReseedRandom() {
  LARGE_INTEGER counter{};
  Generator().Seed(Seams().queryPerformanceCounter(&counter)
                       ? static_cast<std::uint32_t>(counter.LowPart)
                       : GetTickCount());
  GeneratorSeeded() = true;
}

std::uint32_t DrawRandom(std::uint32_t range) {
  // Starting from a fixed state would make every run of a publication pick the same values.
  if (!GeneratorSeeded()) ReseedRandom();
  return Generator().Next(range);
}

std::string ActionName(int actionId) { return LoadResString(IDS_ACTION_NAME_BASE + actionId); }

std::string InvalidArgumentsText(int actionId) {
  return FormatResString(IDS_INVALID_ARGUMENTS, {ActionName(actionId)});
}
std::string FileNotFoundText(std::string_view path) {
  return FormatResString(IDS_FILE_NOT_FOUND, {path});
}
std::string PathNotFoundText(std::string_view path) {
  return FormatResString(IDS_PATH_NOT_FOUND, {path});
}
std::string CannotOpenFileText(std::string_view path, DWORD code) {
  return FormatResString(IDS_CANNOT_OPEN_FILE, {path, SystemErrorText(code)});
}
std::string CannotCreateFileText(std::string_view path, DWORD code) {
  return FormatResString(IDS_CANNOT_CREATE_FILE, {path, SystemErrorText(code)});
}

std::string FileFailureText(const FileFailure& failure) {
  return failure.creating ? CannotCreateFileText(failure.path, failure.code)
                          : CannotOpenFileText(failure.path, failure.code);
}

std::string SystemErrorText(DWORD code) {
  char buffer[256] = {};
  const DWORD length = FormatMessageA(
      FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_ARGUMENT_ARRAY,
      nullptr, code, 0, buffer, sizeof buffer, nullptr);
  std::string text(buffer, length < sizeof buffer ? length : 0);
  while (!text.empty() && (static_cast<unsigned char>(text.back()) < 33 || text.back() == '.'))
    text.pop_back();
  return text;
}

void SetLastErrorVariable(std::string_view text) { SetResultVariable("LastError", text); }

bool ReportFailure(std::string_view resultVariable, std::string_view lastError) {
  SetLastErrorVariable(lastError);
  SetResultVariable(resultVariable, kFalse);
  return false;
}

bool ReportInvalidArguments(int actionId, std::string_view resultVariable) {
  return ReportFailure(resultVariable, InvalidArgumentsText(actionId));
}
bool ReportMissingFile(std::string_view path, std::string_view resultVariable) {
  return ReportFailure(resultVariable, FileNotFoundText(path));
}
bool ReportMissingPath(std::string_view path, std::string_view resultVariable) {
  return ReportFailure(resultVariable, PathNotFoundText(path));
}
bool ReportSystemError(std::string_view resultVariable, DWORD code) {
  return ReportFailure(resultVariable, SystemErrorText(code));
}
bool ReportFileFailure(std::string_view resultVariable, const FileFailure& failure) {
  return ReportFailure(resultVariable, FileFailureText(failure));
}

int ScreenPixelsPerInch() {
  const WindowDC screen(nullptr, GetDC(nullptr));
  const int dpi = screen ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 0;
  return dpi > 0 ? dpi : 96;
}

LOGFONTA LogFontFrom(const FontSpec& font, int dpi) {
  LOGFONTA logFont{};
  logFont.lfHeight = -MulDiv(font.size, dpi, 72);
  logFont.lfWeight = (font.styles & kFontBold) ? FW_BOLD : FW_NORMAL;
  logFont.lfItalic = (font.styles & kFontItalic) ? TRUE : FALSE;
  logFont.lfUnderline = (font.styles & kFontUnderline) ? TRUE : FALSE;
  logFont.lfStrikeOut = (font.styles & kFontStrikeout) ? TRUE : FALSE;
  logFont.lfCharSet = DEFAULT_CHARSET;
  logFont.lfOutPrecision = OUT_DEFAULT_PRECIS;
  logFont.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  logFont.lfQuality = DEFAULT_QUALITY;
  logFont.lfPitchAndFamily = DEFAULT_PITCH;
  // Longer names cannot name an installed font; the cut keeps the terminating zero.
  font.name.copy(logFont.lfFaceName, sizeof(logFont.lfFaceName) - 1);
  return logFont;
}
