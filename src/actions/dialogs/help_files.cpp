// Compiled HTML help files a publication ships with: its contents, index and search tabs, one
// topic, and closing every help window again. Each action checks the file, makes one call to
// the help engine (hhctrl.ocx, loaded at first use) and returns as soon as the window shows.
#include <windows.h>
// htmlhelp.h builds on the types that windows.h declares.
#include <htmlhelp.h>

#include <string>

#include "actions/actions.h"
#include "core/failures.h"
#include "core/host_io.h"
#include "platform/seams.h"
#include "pure/dialog_options.h"

namespace {

// One call to the help engine for the file's existing-file check already passed. A missing
// engine is reported like any refusal, with the system's text for why it could not load.
bool CallHelpEngine(const std::string& variable, const std::string& file, UINT command,
                    DWORD_PTR data) {
  SetLastError(ERROR_SUCCESS);
  const auto htmlHelp = HtmlHelpEntry();
  if (!htmlHelp) {
    const DWORD code = GetLastError();
    return ReportSystemError(variable, code != ERROR_SUCCESS ? code : ERROR_MOD_NOT_FOUND);
  }
  SetLastError(ERROR_SUCCESS);
  if (!htmlHelp(GetActiveWindow(), file.c_str(), command, data))
    return ReportSystemError(variable, GetLastError());
  SetResultVariable(variable, kTrue);
  return true;
}

}  // namespace

// kxOpenHelpToc: the contents tab.
bool RunOpenHelpToc(const ActionCall& call) {
  const std::string file = call.Param(0), variable = call.Param(1);
  if (!FileAccepted(file, variable)) return false;
  return CallHelpEngine(variable, file, HH_DISPLAY_TOC, 0);
}

// kxOpenHelpIndex: the index tab, at the keyword when one is given (an empty keyword selects
// nothing).
bool RunOpenHelpIndex(const ActionCall& call) {
  const std::string file = call.Param(0), keyword = call.Param(1), variable = call.Param(2);
  if (!FileAccepted(file, variable)) return false;
  return CallHelpEngine(variable, file, HH_DISPLAY_INDEX,
                        reinterpret_cast<DWORD_PTR>(keyword.c_str()));
}

// kxOpenHelpSearch: the search tab with an empty query that runs nothing by itself.
bool RunOpenHelpSearch(const ActionCall& call) {
  const std::string file = call.Param(0), variable = call.Param(1);
  if (!FileAccepted(file, variable)) return false;
  HH_FTS_QUERY query{};
  query.cbStruct = sizeof(query);  // 32 bytes on i686, 40 on x86_64
  query.fUniCodeStrings = FALSE;
  query.pszSearchQuery = nullptr;
  query.iProximity = HH_FTS_DEFAULT_PROXIMITY;
  query.fStemmedSearch = FALSE;
  query.fTitleOnly = FALSE;
  query.fExecute = FALSE;
  query.pszWindow = nullptr;
  return CallHelpEngine(variable, file, HH_DISPLAY_SEARCH, reinterpret_cast<DWORD_PTR>(&query));
}

// kxOpenHelpTheme: an integer text is a context number that the file's own map turns into a
// page ("1001", "0x3E9"); any other text is the page's path inside the file.
bool RunOpenHelpTheme(const ActionCall& call) {
  const std::string file = call.Param(0), topic = call.Param(1), variable = call.Param(2);
  if (!FileAccepted(file, variable)) return false;
  const HelpTopicCall engine = HelpTopic(file, topic);
  return CallHelpEngine(variable, engine.file, engine.command, engine.data);
}

// kxCloseHelpFile: closes every help window the process opened, not only this file's. The
// engine's answer means nothing here (it returns no window), so an existing file is success;
// a missing engine has no window open and nothing to close.
bool RunCloseHelpFile(const ActionCall& call) {
  const std::string file = call.Param(0), variable = call.Param(1);
  if (!FileExists(file)) return ReportMissingFile(file, variable);
  if (const auto htmlHelp = HtmlHelpEntry())
    htmlHelp(GetActiveWindow(), file.c_str(), HH_CLOSE_ALL, 0);
  SetResultVariable(variable, kTrue);
  return true;
}
