// Run routines of the actions, one per catalogue row. Each reads only the parameter slots
// its row declares and returns the truth value nbExecAction hands back to the host.
#pragma once

#include <array>
#include <cstddef>
#include <utility>

using Params = const char* const*;
using EditSlots = char**;
using RunRoutine = bool (*)(Params params);
using EditRoutine = bool (*)(EditSlots slots);

bool RunStartsStr(Params params);
bool RunEndsStr(Params params);
bool RunQuotedStr(Params params);
bool RunDequotedStr(Params params);
bool RunDupeStr(Params params);
bool RunReverseStr(Params params);
bool RunLeftStr(Params params);
bool RunRightStr(Params params);
bool RunMidStr(Params params);
bool RunTrimStr(Params params);
bool RunTrimLeftStr(Params params);
bool RunTrimRightStr(Params params);
bool RunGUIDStr(Params params);
bool RunRandomFromStr(Params params);
bool RunIfThenStr(Params params);
bool RunIfAppendStr(Params params);
bool RunIfPrependStr(Params params);
bool RunExtractChars(Params params);
bool RunExtractAlphas(Params params);
bool RunExtractNumber(Params params);
bool RunExtractAlphaNum(Params params);
bool RunNumberToRoman(Params params);
bool RunRomanToNumber(Params params);
bool RunSetVar(Params params);
bool RunExecAction(Params params);
bool RunExecActions(Params params);
bool RunClearVariables(Params params);
bool RunSaveVariables(Params params);
bool RunFileSize(Params params);
bool RunTempFilePath(Params params);
bool RunFileLongPath(Params params);
bool RunFileShortPath(Params params);
bool RunFileTypeName(Params params);
bool RunFileSystem(Params params);
bool RunFileDate(Params params);
bool RunParentDir(Params params);
bool RunDirIsEmpty(Params params);
bool RunEncodeDate(Params params);
bool RunIsValidDate(Params params);
bool RunIsValidTime(Params params);
bool RunDaysBetween(Params params);
bool RunDaysBetweenEx(Params params);
// Drives, shell file operations, wiping and shortcuts.
bool RunDriveType(Params params);
bool RunSystemDrives(Params params);
bool RunFileOperation(Params params);
bool RunWipeFile(Params params);
bool RunAddShortcut(Params params);
bool RunGetShortcut(Params params);

// Power, session, display, cursor, system information and processes.
bool RunHideCursor(Params params);
bool RunShowCursor(Params params);
bool RunShellAbout(Params params);
bool RunLogOff(Params params);
bool RunPowerOff(Params params);
bool RunReboot(Params params);
bool RunRestart(Params params);
bool RunShutdown(Params params);
bool RunSuspend(Params params);
bool RunHibernate(Params params);
bool RunCanSuspend(Params params);
bool RunCanPowerOff(Params params);
bool RunCanHibernate(Params params);
bool RunErrorMessage(Params params);
bool RunDisableSleep(Params params);
bool RunEnableSleep(Params params);
bool RunMemoryStatus(Params params);
bool RunKillProgram(Params params);
bool RunMonitorOff(Params params);
bool RunMonitorOn(Params params);
// The publication's window, taskbar button and captions; screenshots.
bool RunHidePublication(Params params);
bool RunShowPublication(Params params);
bool RunHideFromTaskbar(Params params);
bool RunShowOnTaskbar(Params params);
bool RunHideAppCaption(Params params);
bool RunShowAppCaption(Params params);
bool RunActiveShot(Params params);
bool RunHandleShot(Params params);
bool RunScreenShot(Params params);
// Help files and common dialogs (ids 35 to 45).
bool RunOpenHelpToc(Params params);
bool RunOpenHelpIndex(Params params);
bool RunOpenHelpSearch(Params params);
bool RunOpenHelpTheme(Params params);
bool RunCloseHelpFile(Params params);
bool RunFontDialog(Params params);
bool RunColorDialog(Params params);
bool RunOpenFileDialog(Params params);
bool RunSaveFileDialog(Params params);
bool RunOpenImageDialog(Params params);
bool RunSaveImageDialog(Params params);
// URL and Base64 coding, host reachability.
bool RunIsHostAlive(Params params);
bool RunUrlEncode(Params params);
bool RunUrlDecode(Params params);
bool RunBase64EncodeStr(Params params);
bool RunBase64DecodeStr(Params params);
bool RunBase64EncodeFile(Params params);
bool RunBase64DecodeFile(Params params);

// Property dialogs: one edit routine for every action, reading the action's row of the form
// catalogue (editor/form_catalogue.cpp); false with no window for an id without a row.
bool EditWithForm(int id, EditSlots slots);
template <int Id>
bool EditWithFormOf(EditSlots slots) {
  return EditWithForm(Id, slots);
}
template <std::size_t... Ids>
constexpr std::array<EditRoutine, sizeof...(Ids)> MakeFormEditRoutines(
    std::index_sequence<Ids...>) {
  return {&EditWithFormOf<static_cast<int>(Ids)>...};
}
inline constexpr auto kFormEditRoutines = MakeFormEditRoutines(std::make_index_sequence<96>());
constexpr EditRoutine FormEditRoutine(int id) {
  return id >= 0 && id < static_cast<int>(kFormEditRoutines.size()) ? kFormEditRoutines[id]
                                                                    : nullptr;
}
