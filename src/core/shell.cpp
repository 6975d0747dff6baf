#include "core/shell.h"

#include <windows.h>

#include <string>

#include "platform/files.h"
#include "platform/raii.h"
#include "platform/resources.h"
#include "platform/seams.h"
#include "resources/resource.h"

namespace {

// The registry names the Russian help. The English edition opens its own, which install.cmd
// puts beside it under the same name with "-en" before ".chm", and the registered one when
// that is missing.
std::string EditionHelpFile(const std::string& registered) {
  constexpr size_t kExtension = 4;  // ".chm"
  if (TextEdition() == Edition::Russian || registered.size() <= kExtension ||
      lstrcmpiA(registered.c_str() + registered.size() - kExtension, ".chm") != 0)
    return registered;
  const size_t stem = registered.size() - kExtension;
  const std::string english = registered.substr(0, stem) + "-en" + registered.substr(stem);
  return FileExists(english) ? english : registered;
}

}  // namespace

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
  const std::string target = EditionHelpFile(helpFile) + "::\\index.html#" + std::string(topic);
  return htmlHelp(GetActiveWindow(), target.c_str(), 0, 0) != nullptr;
}

bool OpenWithShell(std::string_view file, std::string_view parameters, int showMode) {
  const std::string fileText(file), parameterText(parameters);
  const auto result = reinterpret_cast<INT_PTR>(Seams().shellExecute(
      GetActiveWindow(), "open", fileText.c_str(), parameterText.c_str(), nullptr, showMode));
  return result > 32;
}
