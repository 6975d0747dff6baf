// The machine's drives by type: one drive's type name, or the roots of every drive of a type.
// The names are the Windows constant names, so what kxDriveType writes is a filter that
// kxSystemDrives takes.
#include <windows.h>

#include <string>
#include <vector>

#include "actions/actions.h"
#include "core/failures.h"
#include "core/host_io.h"
#include "pure/drive_names.h"

namespace {

std::string RootOf(char letter) { return std::string(1, letter) + ":\\"; }
}  // namespace

// kxDriveType: any single character is asked about, letter or not; one that names no drive
// answers "DRIVE_NO_ROOT_DIR". Only a parameter that is not one character is refused.
bool RunDriveType(const ActionCall& call) {
  const std::string drive = call.Param(0), variable = call.Param(1);
  const std::optional<char> letter = DriveLetter(drive);
  if (!letter) return ReportInvalidArguments(call);
  SetResultVariable(variable, DriveTypeName(GetDriveTypeA(RootOf(*letter).c_str())));
  return true;
}

// kxSystemDrives: roots in letter order at indexes 0, 1 ...; the count variable receives the
// highest index written, and nothing at all when no drive matches (still a success). Entries
// from an earlier, longer listing stay as they were. A filter that is no drive-type name
// writes only LastError: there is no single result variable to put "False" into.
bool RunSystemDrives(const ActionCall& call) {
  const std::string filter = call.Param(0), array = call.Param(1), count = call.Param(2);
  const std::optional<int> code = DriveFilterCode(filter);
  if (!code) {
    SetLastErrorVariable(InvalidArgumentsText(call));
    return false;
  }
  std::vector<std::string> roots;
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    const std::string root = RootOf(letter);
    const auto type = static_cast<int>(GetDriveTypeA(root.c_str()));
    if (type == kDriveNoRootDir || (*code != kAllDrives && type != *code)) continue;
    roots.push_back(root);
  }
  for (std::size_t i = 0; i < roots.size(); ++i)
    SetIndexedVariable(static_cast<int>(i), array, roots[i]);
  if (!roots.empty()) SetResultVariable(count, std::to_string(roots.size() - 1));
  return true;
}
