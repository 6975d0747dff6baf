// How an action reports a failure: LastError first, then "False" into its result variable,
// then a false return. The texts come from the string table, the system or the file layer.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "core/catalogue.h"
#include "platform/files.h"

// The system's message for `code`, without trailing blanks, control characters and periods.
std::string SystemErrorText(DWORD code);
// The Windows error a failed COM call stands for, so that SystemErrorText finds the system's
// words: the code itself for a Win32 HRESULT, the HRESULT as it is otherwise (the system has
// texts for many of them).
DWORD WindowsErrorOf(HRESULT hr);

// "Invalid "<name>" action arguments", named from the call's catalogue row.
std::string InvalidArgumentsText(const ActionCall& call);
std::string FileNotFoundText(std::string_view path);
std::string PathNotFoundText(std::string_view path);
// "Cannot open file "<path>". <system text>" and its "create" twin, for a file that exists
// (or should be made) but that Windows refuses; `path` is the full path.
std::string CannotOpenFileText(std::string_view path, DWORD code);
std::string CannotCreateFileText(std::string_view path, DWORD code);
// The one text of a file the layer could not open ("Cannot open file") or make ("Cannot
// create file"), whichever action met it.
std::string FileFailureText(const FileFailure& failure);

void SetLastErrorVariable(std::string_view text);
// LastError first, then "False" into the result variable; returns false for the caller to pass on.
bool ReportFailure(std::string_view resultVariable, std::string_view lastError);
// The invalid-arguments text, "False" into the row's result slot.
bool ReportInvalidArguments(const ActionCall& call);
bool ReportMissingFile(std::string_view path, std::string_view resultVariable);
bool ReportMissingPath(std::string_view path, std::string_view resultVariable);
bool ReportSystemError(std::string_view resultVariable, DWORD code = GetLastError());
bool ReportFileFailure(std::string_view resultVariable, const FileFailure& failure);
// True for an existing file that is no device; otherwise reports the missing file or the
// device refusal and returns false.
bool FileAccepted(const std::string& path, std::string_view resultVariable);
