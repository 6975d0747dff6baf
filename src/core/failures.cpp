#include "core/failures.h"

#include "core/host_io.h"
#include "platform/resources.h"
#include "resources/resource.h"

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

DWORD WindowsErrorOf(HRESULT hr) {
  return HRESULT_FACILITY(hr) == FACILITY_WIN32 ? HRESULT_CODE(hr) : static_cast<DWORD>(hr);
}

std::string InvalidArgumentsText(const ActionCall& call) {
  return FormatResString(IDS_INVALID_ARGUMENTS, {call.row.name});
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

void SetLastErrorVariable(std::string_view text) { SetResultVariable("LastError", text); }

bool ReportFailure(std::string_view resultVariable, std::string_view lastError) {
  SetLastErrorVariable(lastError);
  SetResultVariable(resultVariable, kFalse);
  return false;
}

bool ReportInvalidArguments(const ActionCall& call) {
  return ReportFailure(call.ResultVariable(), InvalidArgumentsText(call));
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

bool FileAccepted(const std::string& path, std::string_view resultVariable) {
  switch (KindOf(path)) {
    case PathKind::kFile:
      return true;
    case PathKind::kDevice:
      return ReportFileFailure(resultVariable, RefuseDevice(path, false));
    default:
      return ReportMissingFile(path, resultVariable);
  }
}
