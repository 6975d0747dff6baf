// Run routines of the actions, one per catalogue row. Each reads only the parameter slots
// its row declares and returns the truth value nbExecAction hands back to the host.
#pragma once

#include "core/catalogue.h"

bool RunStartsStr(const ActionCall& call);
bool RunEndsStr(const ActionCall& call);
bool RunQuotedStr(const ActionCall& call);
bool RunDequotedStr(const ActionCall& call);
bool RunDupeStr(const ActionCall& call);
bool RunReverseStr(const ActionCall& call);
bool RunLeftStr(const ActionCall& call);
bool RunRightStr(const ActionCall& call);
bool RunMidStr(const ActionCall& call);
bool RunTrimStr(const ActionCall& call);
bool RunTrimLeftStr(const ActionCall& call);
bool RunTrimRightStr(const ActionCall& call);
bool RunGUIDStr(const ActionCall& call);
bool RunRandomFromStr(const ActionCall& call);
bool RunIfThenStr(const ActionCall& call);
bool RunIfAppendStr(const ActionCall& call);
bool RunIfPrependStr(const ActionCall& call);
bool RunExtractChars(const ActionCall& call);
bool RunExtractAlphas(const ActionCall& call);
bool RunExtractNumber(const ActionCall& call);
bool RunExtractAlphaNum(const ActionCall& call);
bool RunNumberToRoman(const ActionCall& call);
bool RunRomanToNumber(const ActionCall& call);
bool RunSetVar(const ActionCall& call);
bool RunExecAction(const ActionCall& call);
bool RunExecActions(const ActionCall& call);
bool RunClearVariables(const ActionCall& call);
bool RunSaveVariables(const ActionCall& call);
bool RunFileSize(const ActionCall& call);
bool RunTempFilePath(const ActionCall& call);
bool RunFileLongPath(const ActionCall& call);
bool RunFileShortPath(const ActionCall& call);
bool RunFileTypeName(const ActionCall& call);
bool RunFileSystem(const ActionCall& call);
bool RunFileDate(const ActionCall& call);
bool RunParentDir(const ActionCall& call);
bool RunDirIsEmpty(const ActionCall& call);
bool RunEncodeDate(const ActionCall& call);
bool RunIsValidDate(const ActionCall& call);
bool RunIsValidTime(const ActionCall& call);
bool RunDaysBetween(const ActionCall& call);
bool RunDaysBetweenEx(const ActionCall& call);
// Drives, shell file operations, wiping and shortcuts.
bool RunDriveType(const ActionCall& call);
bool RunSystemDrives(const ActionCall& call);
bool RunFileOperation(const ActionCall& call);
bool RunWipeFile(const ActionCall& call);
bool RunAddShortcut(const ActionCall& call);
bool RunGetShortcut(const ActionCall& call);

// Power, session, display, cursor, system information and processes.
bool RunHideCursor(const ActionCall& call);
bool RunShowCursor(const ActionCall& call);
bool RunShellAbout(const ActionCall& call);
bool RunLogOff(const ActionCall& call);
bool RunPowerOff(const ActionCall& call);
bool RunReboot(const ActionCall& call);
bool RunRestart(const ActionCall& call);
bool RunShutdown(const ActionCall& call);
bool RunSuspend(const ActionCall& call);
bool RunHibernate(const ActionCall& call);
bool RunCanSuspend(const ActionCall& call);
bool RunCanPowerOff(const ActionCall& call);
bool RunCanHibernate(const ActionCall& call);
bool RunErrorMessage(const ActionCall& call);
bool RunDisableSleep(const ActionCall& call);
bool RunEnableSleep(const ActionCall& call);
bool RunMemoryStatus(const ActionCall& call);
bool RunKillProgram(const ActionCall& call);
bool RunMonitorOff(const ActionCall& call);
bool RunMonitorOn(const ActionCall& call);
// The publication's window, taskbar button and captions; screenshots.
bool RunHidePublication(const ActionCall& call);
bool RunShowPublication(const ActionCall& call);
bool RunHideFromTaskbar(const ActionCall& call);
bool RunShowOnTaskbar(const ActionCall& call);
bool RunHideAppCaption(const ActionCall& call);
bool RunShowAppCaption(const ActionCall& call);
bool RunActiveShot(const ActionCall& call);
bool RunHandleShot(const ActionCall& call);
bool RunScreenShot(const ActionCall& call);
// Help files and common dialogs (ids 35 to 45).
bool RunOpenHelpToc(const ActionCall& call);
bool RunOpenHelpIndex(const ActionCall& call);
bool RunOpenHelpSearch(const ActionCall& call);
bool RunOpenHelpTheme(const ActionCall& call);
bool RunCloseHelpFile(const ActionCall& call);
bool RunFontDialog(const ActionCall& call);
bool RunColorDialog(const ActionCall& call);
bool RunOpenFileDialog(const ActionCall& call);
bool RunSaveFileDialog(const ActionCall& call);
bool RunOpenImageDialog(const ActionCall& call);
bool RunSaveImageDialog(const ActionCall& call);
// URL and Base64 coding, host reachability.
bool RunIsHostAlive(const ActionCall& call);
bool RunUrlEncode(const ActionCall& call);
bool RunUrlDecode(const ActionCall& call);
bool RunBase64EncodeStr(const ActionCall& call);
bool RunBase64DecodeStr(const ActionCall& call);
bool RunBase64EncodeFile(const ActionCall& call);
bool RunBase64DecodeFile(const ActionCall& call);
