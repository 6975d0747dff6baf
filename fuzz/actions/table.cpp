#include "table.h"

#include <windows.h>

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

// Slot letters are those of enum Slot, one per catalogue parameter in slot order.
//
// kxShellAbout has no entry in Seams(): ShellAboutA is answered by a stand-in put into the
// program's import table (and handed out by GetProcAddress), whichever way the action calls
// it, and the window watcher closes any dialog that still appears. The help actions'
// HtmlHelpA and the power actions' SetSuspendState are looked up by name and get stand-ins the
// same way, so actions that land later are fuzzed with no change here.
constexpr std::array<ActionClass, 95> kTable = {{
    {1, C::kPure, "ttv"},                                 // kxStartsStr
    {2, C::kPure, "ttv"},                                 // kxEndsStr
    {3, C::kPure, "ttv"},                                 // kxQuotedStr
    {4, C::kPure, "ttv"},                                 // kxDequotedStr
    {5, C::kPure, "tnv"},                                 // kxDupeStr
    {6, C::kPure, "tv"},                                  // kxReverseStr
    {7, C::kPure, "tnv"},                                 // kxLeftStr
    {8, C::kPure, "tnv"},                                 // kxRightStr
    {9, C::kPure, "tnnv"},                                // kxMidStr
    {10, C::kPure, "tv"},                                 // kxTrimStr
    {11, C::kPure, "tv"},                                 // kxTrimLeftStr
    {12, C::kPure, "tv"},                                 // kxTrimRightStr
    {13, C::kPure, "v"},                                  // kxGUIDStr
    {14, C::kPure, "tv"},                                 // kxRandomFromStr
    {15, C::kPure, "tttv"},                               // kxIfThenStr
    {16, C::kPure, "ttv"},                                // kxIfAppendStr
    {17, C::kPure, "ttv"},                                // kxIfPrependStr
    {18, C::kPure, "ttv"},                                // kxExtractChars
    {19, C::kPure, "tv"},                                 // kxExtractAlphas
    {20, C::kPure, "tv"},                                 // kxExtractNumber
    {21, C::kPure, "tv"},                                 // kxExtractAlphaNum
    {22, C::kPure, "nv"},                                 // kxNumberToRoman
    {23, C::kPure, "tv"},                                 // kxRomanToNumber
    {24, C::kPure, "ltt"},                                // kxSetVar
    {25, C::kThreadState, ""},                            // kxHideCursor
    {26, C::kThreadState, ""},                            // kxShowCursor
    {27, C::kHostScript, "s"},                            // kxExecAction
    {28, C::kHostScript, "r"},                            // kxExecActions
    {29, C::kPure, "l"},                                  // kxClearVariables
    {30, C::kWritesSandbox, "lw"},                        // kxSaveVariables
    {31, C::kOwnWindows, "", false},                      // kxHidePublication
    {32, C::kOwnWindows, "", false},                      // kxShowPublication
    {33, C::kOwnWindows, "", false},                      // kxHideFromTaskbar
    {34, C::kOwnWindows, "", false},                      // kxShowOnTaskbar
    {35, C::kDialogSeam, "rv"},                           // kxOpenHelpToc
    {36, C::kDialogSeam, "rtv"},                          // kxOpenHelpIndex
    {37, C::kDialogSeam, "rv"},                           // kxOpenHelpSearch
    {38, C::kDialogSeam, "rnv"},                          // kxOpenHelpTheme
    {39, C::kDialogSeam, "rv"},                           // kxCloseHelpFile
    {40, C::kDialogSeam, "tv", false},                    // kxFontDialog
    {41, C::kDialogSeam, "tKvv", false},                  // kxColorDialog
    {42, C::kDialogSeam, "ttKnrtKv", false},              // kxOpenFileDialog
    {43, C::kDialogSeam, "ttKnrtKv", false},              // kxSaveFileDialog
    {44, C::kDialogSeam, "ttKnrtKv", false},              // kxOpenImageDialog
    {45, C::kDialogSeam, "ttKnrtKv", false},              // kxSaveImageDialog
    {46, C::kDialogWatcher, "tttv"},                      // kxShellAbout
    {47, C::kMachineSeam, "Kv"},                          // kxLogOff
    {48, C::kMachineSeam, "Kv"},                          // kxPowerOff
    {49, C::kMachineSeam, "Kv"},                          // kxReboot
    {50, C::kMachineSeam, "Kv"},                          // kxRestart
    {51, C::kMachineSeam, "Kv"},                          // kxShutdown
    {52, C::kMachineSeam, "v"},                           // kxSuspend
    {53, C::kMachineSeam, "v"},                           // kxHibernate
    {54, C::kQueriesSystem, "v"},                         // kxCanSuspend
    {55, C::kQueriesSystem, "v"},                         // kxCanPowerOff
    {56, C::kQueriesSystem, "v"},                         // kxCanHibernate
    {57, C::kQueriesSystem, "nv"},                        // kxErrorMessage
    {58, C::kThreadState, "v", false},                    // kxDisableSleep
    {59, C::kThreadState, "v", false},                    // kxEnableSleep
    {60, C::kQueriesSystem, "v"},                         // kxMemoryStatus
    {61, C::kWritesSandbox, "rtfmtv"},                    // kxAddShortcut
    {62, C::kReadsFiles, "rv"},                           // kxGetShortcut
    {63, C::kMachineSeam, "kv"},                          // kxKillProgram
    {64, C::kWritesSandbox, "wv"},                        // kxActiveShot
    {65, C::kWritesSandbox, "wWv"},                       // kxHandleShot
    {66, C::kWritesSandbox, "wv"},                        // kxScreenShot
    {67, C::kMachineSeam, "v"},                           // kxMonitorOff
    {68, C::kMachineSeam, "v"},                           // kxMonitorOn
    {69, C::kWritesSandbox, "wnv", true, WipeSeconds},    // kxWipeFile
    {70, C::kReadsFiles, "rv"},                           // kxFileSize
    {71, C::kReadsFiles, "rv"},                           // kxDriveType
    {72, C::kWritesSandbox, "KpptKv"},                    // kxFileOperation
    {73, C::kPure, "tv"},                                 // kxTempFilePath
    {74, C::kQueriesSystem, "Kvv"},                       // kxSystemDrives
    {75, C::kReadsFiles, "rv"},                           // kxFileLongPath
    {76, C::kReadsFiles, "rv"},                           // kxFileShortPath
    {77, C::kReadsFiles, "rv"},                           // kxFileTypeName
    {78, C::kReadsFiles, "rv"},                           // kxFileSystem
    {79, C::kReadsFiles, "rtv", false},                   // kxFileDate
    {80, C::kPure, "rv"},                                 // kxParentDir
    {81, C::kReadsFiles, "rv"},                           // kxDirIsEmpty
    {82, C::kNetworkLoopback, "hnv", true, PingSeconds},  // kxIsHostAlive
    {83, C::kPure, "tv"},                                 // kxUrlEncode
    {84, C::kPure, "tv"},                                 // kxUrlDecode
    {85, C::kPure, "tv"},                                 // kxBase64EncodeStr
    {86, C::kPure, "tv"},                                 // kxBase64DecodeStr
    {87, C::kReadsFiles, "rv"},                           // kxBase64EncodeFile
    {88, C::kWritesSandbox, "twv"},                       // kxBase64DecodeFile
    {89, C::kOwnWindows, "Wv"},                           // kxHideAppCaption
    {90, C::kOwnWindows, "Wv"},                           // kxShowAppCaption
    {91, C::kPure, "nnnv"},                               // kxEncodeDate
    {92, C::kPure, "nnnv"},                               // kxIsValidDate
    {93, C::kPure, "nnnv"},                               // kxIsValidTime
    {94, C::kPure, "ddv"},                                // kxDaysBetween
    {95, C::kPure, "ddv"},                                // kxDaysBetweenEx
}};

constexpr bool Dense() {
  for (size_t i = 0; i < kTable.size(); ++i)
    if (kTable[i].id != static_cast<int>(i) + 1) return false;
  return true;
}
static_assert(Dense(), "one row per action id, in id order");

}  // namespace

const std::array<ActionClass, 95>& Classification() { return kTable; }

const ActionClass* FindClass(int id) {
  if (id < 1 || id > static_cast<int>(kTable.size())) return nullptr;
  return &kTable[static_cast<size_t>(id - 1)];
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
