// The shell and the plug-in's own help file.
#pragma once

#include <string_view>

// Opens the registered help file (HKCU "Software\Tessoran\Vellmark\zaDode", "HelpFile"), or in
// the English edition the English help beside it (zaDode-en.chm), at "index.html#<topic>";
// false when no help file is registered, it is missing, or the help engine shows nothing.
bool OpenPluginHelp(std::string_view topic);
// ShellExecute "open" over the active window; true when the shell accepted the request.
bool OpenWithShell(std::string_view file, std::string_view parameters, int showMode);
