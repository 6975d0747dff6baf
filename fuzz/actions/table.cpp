#include "table.h"

#include <windows.h>

#include <iterator>

#include "actions/actions.h"
#include "pure/text.h"

namespace fuzz {
namespace {

using C = Class;

std::string_view At(const Params& params, size_t slot) {
  return slot < params.size() && params[slot] ? std::string_view(*params[slot]) : "";
}

// Three flushed passes per cycle over the file, each allowed 10 ms and 20 MB/s; the count is
// read as the action reads it, and a count it refuses does no work.
double WipeSeconds(const Params& params) {
  const std::int32_t cycles = ParseLenient(At(params, 1), 1);
  if (cycles < 0 || cycles > 255) return 0;
  WIN32_FILE_ATTRIBUTE_DATA data{};
  double size = 0;
  if (GetFileAttributesExA(std::string(At(params, 0)).c_str(), GetFileExInfoStandard, &data))
    size = static_cast<double>(data.nFileSizeLow) + 4294967296.0 * data.nFileSizeHigh;
  return (cycles + 1) * 3 * (0.01 + size / (20 << 20));
}

// The time-out in milliseconds, as the action hands it to the system.
double PingSeconds(const Params& params) {
  const std::optional<std::int32_t> timeout = ParseInteger(At(params, 1));
  return timeout ? static_cast<DWORD>(*timeout) / 1000.0 : 0;
}

// One row per action, named by its catalogue row's run routine; slot letters are those of enum
// Slot, one per catalogue parameter in slot order.
//
// kxShellAbout's seam holds ShellAboutA itself: the driver answers it by a stand-in put into
// the program's import table (and handed out by GetProcAddress), and the window watcher closes
// any dialog that still appears. The help actions' HtmlHelpA and the power actions'
// SetSuspendState are looked up by name and get stand-ins the same way.
constexpr ActionClass kTable[] = {
    {&RunStartsStr, C::kPure, "ttv"},
    {&RunEndsStr, C::kPure, "ttv"},
    {&RunQuotedStr, C::kPure, "ttv"},
    {&RunDequotedStr, C::kPure, "ttv"},
    {&RunDupeStr, C::kPure, "tnv"},
    {&RunReverseStr, C::kPure, "tv"},
    {&RunLeftStr, C::kPure, "tnv"},
    {&RunRightStr, C::kPure, "tnv"},
    {&RunMidStr, C::kPure, "tnnv"},
    {&RunTrimStr, C::kPure, "tv"},
    {&RunTrimLeftStr, C::kPure, "tv"},
    {&RunTrimRightStr, C::kPure, "tv"},
    {&RunGUIDStr, C::kPure, "v"},
    {&RunRandomFromStr, C::kPure, "tv"},
    {&RunIfThenStr, C::kPure, "tttv"},
    {&RunIfAppendStr, C::kPure, "ttv"},
    {&RunIfPrependStr, C::kPure, "ttv"},
    {&RunExtractChars, C::kPure, "ttv"},
    {&RunExtractAlphas, C::kPure, "tv"},
    {&RunExtractNumber, C::kPure, "tv"},
    {&RunExtractAlphaNum, C::kPure, "tv"},
    {&RunNumberToRoman, C::kPure, "nv"},
    {&RunRomanToNumber, C::kPure, "tv"},
    {&RunSetVar, C::kPure, "ltt"},
    {&RunHideCursor, C::kThreadState, ""},
    {&RunShowCursor, C::kThreadState, ""},
    {&RunExecAction, C::kHostScript, "s"},
    {&RunExecActions, C::kHostScript, "r"},
    {&RunClearVariables, C::kPure, "l"},
    {&RunSaveVariables, C::kWritesSandbox, "lw"},
    {&RunHidePublication, C::kOwnWindows, "", false},
    {&RunShowPublication, C::kOwnWindows, "", false},
    {&RunHideFromTaskbar, C::kOwnWindows, "", false},
    {&RunShowOnTaskbar, C::kOwnWindows, "", false},
    {&RunOpenHelpToc, C::kDialogSeam, "rv"},
    {&RunOpenHelpIndex, C::kDialogSeam, "rtv"},
    {&RunOpenHelpSearch, C::kDialogSeam, "rv"},
    {&RunOpenHelpTheme, C::kDialogSeam, "rnv"},
    {&RunCloseHelpFile, C::kDialogSeam, "rv"},
    {&RunFontDialog, C::kDialogSeam, "tv", false},
    {&RunColorDialog, C::kDialogSeam, "tKvv", false},
    {&RunOpenFileDialog, C::kDialogSeam, "ttKnrtKv", false},
    {&RunSaveFileDialog, C::kDialogSeam, "ttKnrtKv", false},
    {&RunOpenImageDialog, C::kDialogSeam, "ttKnrtKv", false},
    {&RunSaveImageDialog, C::kDialogSeam, "ttKnrtKv", false},
    {&RunShellAbout, C::kDialogWatcher, "tttv"},
    {&RunLogOff, C::kMachineSeam, "Kv"},
    {&RunPowerOff, C::kMachineSeam, "Kv"},
    {&RunReboot, C::kMachineSeam, "Kv"},
    {&RunRestart, C::kMachineSeam, "Kv"},
    {&RunShutdown, C::kMachineSeam, "Kv"},
    {&RunSuspend, C::kMachineSeam, "v"},
    {&RunHibernate, C::kMachineSeam, "v"},
    {&RunCanSuspend, C::kQueriesSystem, "v"},
    {&RunCanPowerOff, C::kQueriesSystem, "v"},
    {&RunCanHibernate, C::kQueriesSystem, "v"},
    {&RunErrorMessage, C::kQueriesSystem, "nv"},
    {&RunDisableSleep, C::kThreadState, "v", false},
    {&RunEnableSleep, C::kThreadState, "v", false},
    {&RunMemoryStatus, C::kQueriesSystem, "v"},
    {&RunAddShortcut, C::kWritesSandbox, "rtfmtv"},
    {&RunGetShortcut, C::kReadsFiles, "rv"},
    {&RunKillProgram, C::kMachineSeam, "kv"},
    {&RunActiveShot, C::kWritesSandbox, "wv"},
    {&RunHandleShot, C::kWritesSandbox, "wWv"},
    {&RunScreenShot, C::kWritesSandbox, "wv"},
    {&RunMonitorOff, C::kMachineSeam, "v"},
    {&RunMonitorOn, C::kMachineSeam, "v"},
    {&RunWipeFile, C::kWritesSandbox, "wnv", true, WipeSeconds},
    {&RunFileSize, C::kReadsFiles, "rv"},
    {&RunDriveType, C::kReadsFiles, "rv"},
    {&RunFileOperation, C::kWritesSandbox, "KpptKv"},
    {&RunTempFilePath, C::kPure, "tv"},
    {&RunSystemDrives, C::kQueriesSystem, "Kvv"},
    {&RunFileLongPath, C::kReadsFiles, "rv"},
    {&RunFileShortPath, C::kReadsFiles, "rv"},
    {&RunFileTypeName, C::kReadsFiles, "rv"},
    {&RunFileSystem, C::kReadsFiles, "rv"},
    {&RunFileDate, C::kReadsFiles, "rtv", false},
    {&RunParentDir, C::kPure, "rv"},
    {&RunDirIsEmpty, C::kReadsFiles, "rv"},
    {&RunIsHostAlive, C::kNetworkLoopback, "hnv", true, PingSeconds},
    {&RunUrlEncode, C::kPure, "tv"},
    {&RunUrlDecode, C::kPure, "tv"},
    {&RunBase64EncodeStr, C::kPure, "tv"},
    {&RunBase64DecodeStr, C::kPure, "tv"},
    {&RunBase64EncodeFile, C::kReadsFiles, "rv"},
    {&RunBase64DecodeFile, C::kWritesSandbox, "twv"},
    {&RunHideAppCaption, C::kOwnWindows, "Wv"},
    {&RunShowAppCaption, C::kOwnWindows, "Wv"},
    {&RunEncodeDate, C::kPure, "nnnv"},
    {&RunIsValidDate, C::kPure, "nnnv"},
    {&RunIsValidTime, C::kPure, "nnnv"},
    {&RunDaysBetween, C::kPure, "ddv"},
    {&RunDaysBetweenEx, C::kPure, "ddv"},
};
static_assert(std::size(kTable) == kActionCount, "one row per action");

}  // namespace

const ActionClass* FindClass(const CatalogueRow& row) {
  for (const ActionClass& action : kTable)
    if (action.run == row.run) return &action;
  return nullptr;
}

std::string_view ClassName(Class kind) {
  switch (kind) {
    case Class::kPure:
      return "pure";
    case Class::kHostScript:
      return "host script";
    case Class::kReadsFiles:
      return "reads files";
    case Class::kWritesSandbox:
      return "writes in the sandbox";
    case Class::kQueriesSystem:
      return "queries the system";
    case Class::kThreadState:
      return "thread state";
    case Class::kOwnWindows:
      return "own windows";
    case Class::kMachineSeam:
      return "machine, through seams";
    case Class::kDialogSeam:
      return "dialog, through seams";
    case Class::kDialogWatcher:
      return "dialog, stand-in and watcher";
    case Class::kNetworkLoopback:
      return "network, loopback only";
  }
  return "?";
}

}  // namespace fuzz
