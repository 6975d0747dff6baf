// How every action reads its parameters and reports results and failures.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "actions/actions.h"
#include "platform/files.h"
#include "pure/color_font.h"
#include "pure/text.h"

// A copy of parameter slot `index`; a null pointer reads as an empty text.
std::string Param(Params params, int index);

// Writes `value` into the host variable `name` exactly as passed (brackets and blanks kept);
// a blank name discards the result.
void SetResultVariable(std::string_view name, std::string_view value);
// The same for a result of many megabytes, zero-terminated: handed over without a copy.
void SetLargeResultVariable(std::string_view name, const char* value);
// name followed directly by the index in decimal: Arr0, Arr12 ...
void SetIndexedVariable(int index, std::string_view name, std::string_view value);
// The host's value of `name`; empty when the host has none.
std::string GetHostVariable(std::string_view name);
void PlayScript(std::string_view script);
// Makes the host forget `name` (an empty name: every variable).
void ClearHostVariable(std::string_view name);
std::string HostVersionText();
void ShowHostMessage(std::string_view message);
// kind: 0 action editor, 1 insert variable, 2 unused, 3 and 4 object lists, 5 colour.
std::string OpenHostPicker(int kind, std::string_view current);
bool OpenPluginHelp(std::string_view topic);
bool OpenWithShell(std::string_view file, std::string_view parameters, int showMode);

std::string NewGuidText();
// The temporary folder, a fresh braced GUID and "." + extension unless it is blank.
std::string MakeTempFilePath(std::string_view extension);

// The plug-in's generator, seeded on first use so runs differ; Reseed restarts it from the clock.
std::uint32_t DrawRandom(std::uint32_t range);
void ReseedRandom();

// Failure texts.
std::string ActionName(int actionId);
std::string InvalidArgumentsText(int actionId);
std::string FileNotFoundText(std::string_view path);
std::string PathNotFoundText(std::string_view path);
// "Cannot open file "<path>". <system text>" and its "create" twin, for a file that exists
// (or should be made) but that Windows refuses; `path` is the full path.
std::string CannotOpenFileText(std::string_view path, DWORD code);
std::string CannotCreateFileText(std::string_view path, DWORD code);
// The one text of a file the layer could not open ("Cannot open file") or make ("Cannot
// create file"), whichever action met it.
std::string FileFailureText(const FileFailure& failure);
// The system's message for `code`, without trailing blanks, control characters and periods.
std::string SystemErrorText(DWORD code);

inline constexpr std::string_view kTrue = "True";
inline constexpr std::string_view kFalse = "False";
inline std::string_view TruthText(bool value) { return value ? kTrue : kFalse; }

void SetLastErrorVariable(std::string_view text);
// LastError first, then "False" into the result variable; returns false for the caller to pass on.
bool ReportFailure(std::string_view resultVariable, std::string_view lastError);
bool ReportInvalidArguments(int actionId, std::string_view resultVariable);
bool ReportMissingFile(std::string_view path, std::string_view resultVariable);
bool ReportMissingPath(std::string_view path, std::string_view resultVariable);
bool ReportSystemError(std::string_view resultVariable, DWORD code = GetLastError());
bool ReportFileFailure(std::string_view resultVariable, const FileFailure& failure);

// The screen's dots per inch (96 when it cannot be read).
int ScreenPixelsPerInch();
// The LOGFONT that shows `font` on a device of `dpi` dots per inch (the font dialogs start
// from it).
LOGFONTA LogFontFrom(const FontSpec& font, int dpi);
