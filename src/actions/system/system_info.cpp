// System facilities: the text Windows holds for an error code, the memory status, ending
// programs by the name of their executable, and the Windows about box.
#include <windows.h>
// windows.h first: the toolhelp and shell headers build on its types.
#include <shellapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "actions/actions.h"
#include "core/failures.h"
#include "core/host_io.h"
#include "platform/raii.h"
#include "platform/resources.h"
#include "platform/seams.h"
#include "pure/text.h"

namespace {

// The toolhelp functions are looked up rather than imported, as they are missing from some
// systems; without them the process list is empty.
struct Toolhelp {
  HANDLE(WINAPI* snapshot)(DWORD flags, DWORD processId) = nullptr;
  BOOL(WINAPI* first)(HANDLE snapshot, PROCESSENTRY32* entry) = nullptr;
  BOOL(WINAPI* next)(HANDLE snapshot, PROCESSENTRY32* entry) = nullptr;
  bool complete() const { return snapshot && first && next; }
};

template <typename Proc>
void LookUp(HMODULE module, const char* name, Proc& proc) {
  proc = reinterpret_cast<Proc>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

const Toolhelp& ToolhelpEntries() {
  static const Toolhelp entries = [] {
    Toolhelp toolhelp;
    if (const HMODULE kernel = GetModuleHandleA("kernel32.dll")) {
      LookUp(kernel, "CreateToolhelp32Snapshot", toolhelp.snapshot);
      // The ANSI pair: szExeFile comes in the system's code page, as the host's texts do.
      LookUp(kernel, "Process32First", toolhelp.first);
      LookUp(kernel, "Process32Next", toolhelp.next);
    }
    return toolhelp;
  }();
  return entries;
}

std::string_view FilePart(std::string_view path) {
  const size_t separator = path.find_last_of("\\:");
  return separator == std::string_view::npos ? path : path.substr(separator + 1);
}

// The full path of a process's executable; NT lists only file names, so a program named by
// its path is compared with this. Empty when the process cannot be asked.
std::string ProcessImagePath(DWORD processId) {
  const Handle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
  if (!process) return {};
  std::string path(32768, '\0');
  DWORD length = static_cast<DWORD>(path.size());
  if (!QueryFullProcessImageNameA(process.get(), 0, path.data(), &length)) return {};
  path.resize(length);
  return path;
}

// Letters a to z compare without case, everything else byte for byte. An empty name names no
// program, even where the list holds an entry without a file name.
bool NamesProgram(const PROCESSENTRY32& entry, std::string_view program, bool byPath) {
  if (program.empty()) return false;
  std::string executable = entry.szExeFile;
  if (byPath && FilePart(executable).size() == executable.size()) {
    std::string image = ProcessImagePath(entry.th32ProcessID);
    if (!image.empty()) executable = std::move(image);
  }
  return EqualsAsciiNoCase(FilePart(executable), program) || EqualsAsciiNoCase(executable, program);
}

// Exit code 0, as if the program had ended normally. False with the system's reason.
bool Terminate(DWORD processId) {
  const Handle process(OpenProcess(PROCESS_TERMINATE, FALSE, processId));
  return process && Seams().terminateProcess(process.get(), 0);
}

struct KillOutcome {
  bool ended = false;
  DWORD reason = ERROR_SUCCESS;  // why the last attempt failed, or why nothing was tried
};

KillOutcome EndMatchingProcesses(std::string_view program) {
  const Toolhelp& toolhelp = ToolhelpEntries();
  if (!toolhelp.complete()) return {false, ERROR_PROC_NOT_FOUND};
  const Handle snapshot = FromCreateFile(toolhelp.snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot) return {false, GetLastError()};
  const bool byPath = program.find_first_of("\\:") != std::string_view::npos;
  const DWORD self = GetCurrentProcessId();
  std::optional<KillOutcome> last;
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = toolhelp.first(snapshot.get(), &entry); more;
       more = toolhelp.next(snapshot.get(), &entry)) {
    // The host itself (a publication closing its other instances) is never ended: the script
    // would stop mid-line and the processes later in the list would never be tried.
    if (entry.th32ProcessID == self || !NamesProgram(entry, program, byPath)) continue;
    const bool ended = Terminate(entry.th32ProcessID);
    last = KillOutcome{ended, ended ? DWORD{ERROR_SUCCESS} : GetLastError()};
  }
  // Nothing matched: the walk's own end code, ERROR_NO_MORE_FILES.
  return last.value_or(KillOutcome{false, GetLastError()});
}

std::string MainModulePath() {
  std::string path(MAX_PATH, '\0');
  while (path.size() <= 32768) {
    const DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
  return {};
}

using Icon = IconHandle;

// The icon Explorer shows for the host program; ExtractAssociatedIconA writes the icon's file
// back into the path buffer, so that buffer is at least MAX_PATH long.
Icon HostProgramIcon() {
  const std::string path = MainModulePath();
  std::vector<char> buffer(std::max<size_t>(path.size() + 1, MAX_PATH), '\0');
  std::copy(path.begin(), path.end(), buffer.begin());
  WORD index = 0;
  return Icon(ExtractAssociatedIconA(PluginModule(), buffer.data(), &index));
}
}  // namespace

// kxErrorMessage: the system's text for a code, without its final period and line break;
// a code Windows has no text for gives the empty text, still a success.
bool RunErrorMessage(const ActionCall& call) {
  const std::string variable = call.Param(1);
  const std::optional<std::int32_t> code = ParseInteger(call.Param(0));
  if (!code) return ReportInvalidArguments(call);
  SetResultVariable(variable, SystemErrorText(static_cast<DWORD>(*code)));
  return true;
}

// kxMemoryStatus: Name0 the load in percent, then total and available physical memory, page
// file and the host process's address space, in bytes and full 64 bits. "False" lands on the
// name itself only when the query fails.
bool RunMemoryStatus(const ActionCall& call) {
  const std::string array = call.Param(0);
  MEMORYSTATUSEX status{};
  status.dwLength = sizeof status;
  if (!GlobalMemoryStatusEx(&status)) {
    const DWORD code = GetLastError();
    return ReportSystemError(array, code);
  }
  const std::uint64_t values[] = {status.dwMemoryLoad,     status.ullTotalPhys,
                                  status.ullAvailPhys,     status.ullTotalPageFile,
                                  status.ullAvailPageFile, status.ullTotalVirtual,
                                  status.ullAvailVirtual};
  for (int index = 0; index < 7; ++index)
    SetIndexedVariable(index, array, std::to_string(values[index]));
  return true;
}

// kxKillProgram: every process whose executable (file name, or whole path) matches gets its own
// attempt, and the last attempt decides. A failed last attempt reports its own reason; when
// nothing matched the reason is the end of the list, "no more files". The process the action
// runs in is skipped, so a host that matches alone gives "False" and that same reason.
bool RunKillProgram(const ActionCall& call) {
  const std::string program = call.Param(0), variable = call.Param(1);
  const KillOutcome outcome = EndMatchingProcesses(program);
  if (!outcome.ended) return ReportSystemError(variable, outcome.reason);
  SetResultVariable(variable, kTrue);
  return true;
}

// kxShellAbout: the title bar shows the second text, the first line the first text (Windows
// splits the application text at "#"), the third text below, with the host program's icon.
// Modal: returns when the user closes the box.
bool RunShellAbout(const ActionCall& call) {
  const std::string first = call.Param(0), second = call.Param(1), third = call.Param(2),
                    variable = call.Param(3);
  const Icon icon = HostProgramIcon();
  const std::string application = second + "#" + first;
  if (!Seams().shellAbout(GetActiveWindow(), application.c_str(), third.c_str(), icon.get())) {
    const DWORD code = GetLastError();
    return ReportSystemError(variable, code);
  }
  SetResultVariable(variable, kTrue);
  return true;
}
