// kxFileDate: the three times of a file, formatted with the date-time pattern language.
#include <windows.h>

#include <string>
#include <string_view>

#include "actions/actions.h"
#include "core/failures.h"
#include "core/host_io.h"
#include "platform/files.h"
#include "platform/locale_formats.h"
#include "pure/datetime.h"

namespace {

// The wall-clock time with the offset from universal time that was in force at that moment,
// as Explorer shows it: FileTimeToLocalFileTime would apply today's offset, putting times from
// the other half of the year one hour off. A time that cannot be converted stays at zero.
DateTimeFields LocalFields(const FILETIME& time) {
  SYSTEMTIME universal{}, local{};
  if (!FileTimeToSystemTime(&time, &universal) ||
      !SystemTimeToTzSpecificLocalTime(nullptr, &universal, &local))
    return ValueToDateTime(0.0);
  return {local.wYear,   local.wMonth,  local.wDay,         local.wHour,
          local.wMinute, local.wSecond, local.wMilliseconds};
}
}  // namespace

// kxFileDate: index 0 the creation time, 1 the last write, 2 the last access; an empty format
// means "c". A missing file is an argument error; a file that exists but cannot be opened
// gives "False" and leaves LastError as it was. A device is refused with the text every
// action gives for one.
bool RunFileDate(const ActionCall& call) {
  const std::string path = call.Param(0), format = call.Param(1), variable = call.Param(2);
  if (!FileExists(path)) return ReportInvalidArguments(call);
  FILETIME created{}, written{}, accessed{};
  {
    File file;
    const FileFailure failure = OpenForRead(path, Sharing::kReadWrite, file);
    if (failure.device) return ReportFileFailure(variable, failure);
    if (failure || !GetFileTime(file.get(), &created, &accessed, &written)) {
      SetResultVariable(variable, kFalse);
      return false;
    }
  }
  const std::string_view pattern = format.empty() ? std::string_view("c") : format;
  const LocaleFormats& locale = UserLocaleFormats();
  SetIndexedVariable(0, variable, FormatDateTime(pattern, LocalFields(created), locale));
  SetIndexedVariable(1, variable, FormatDateTime(pattern, LocalFields(written), locale));
  SetIndexedVariable(2, variable, FormatDateTime(pattern, LocalFields(accessed), locale));
  return true;
}
