// fuzz_actions: calls nbExecAction for every action id that has a run routine, with generated
// parameter blocks, and checks what a publication relies on: no crash, no exception reaching
// the export, no call slower than a second, every failure reported through LastError (before
// "False"), nothing written outside the sandbox, no device opened for writing, nothing that
// changes the machine reached outside the seams, and no growth of host texts, handles, GDI and
// USER objects or of the memory the program holds between warm-up and the end.
//
//   fuzz_actions [--seed S] [--calls N] [--warmup W] [--only IDS] [--replay NUMBER]
//
// IDS is one id or a list of ids and ranges ("69", "1-24,83-86").
//
// Every finding prints the seed and the number of its call; --seed S --replay NUMBER makes
// that call again alone (with --only ID too if the run had it).
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "core/catalogue.h"
#include "core/failures.h"
#include "core/host_io.h"
#include "guards.h"
#include "host.h"
#include "inprocess.h"
#include "inputs.h"
#include "platform/seams.h"
#include "pure/text.h"
#include "table.h"
#include "tree.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Options {
  std::uint64_t seed = 0;
  std::uint64_t calls = 20000;
  std::uint64_t warmup = 0;  // 0: a tenth of the calls
  std::string only;          // empty: every id
  long long replay = -1;
  double slowSeconds = 1.0;
  double hangSeconds = 60.0;
};

// What the crash and hang handlers print: the call in progress.
char g_current[2048] = "(no call yet)";
volatile LONG g_inCall = 0;
volatile LONGLONG g_callStartMs = 0;
volatile LONGLONG g_callExtraMs = 0;  // the time the table allows the call in progress

LONGLONG NowMs() { return static_cast<LONGLONG>(GetTickCount64()); }

LONG WINAPI OnCrash(EXCEPTION_POINTERS* info) {
  std::fprintf(stderr, "CRASH: exception 0x%08lX at %p during %s\n",
               info->ExceptionRecord->ExceptionCode, info->ExceptionRecord->ExceptionAddress,
               g_current);
  std::fflush(stderr);
  std::fflush(stdout);
  ExitProcess(3);
}

DWORD WINAPI Watchdog(void* limit) {
  const auto seconds = *static_cast<double*>(limit);
  for (;;) {
    Sleep(500);
    if (g_inCall &&
        NowMs() - g_callStartMs > static_cast<LONGLONG>(seconds * 1000) + g_callExtraMs) {
      std::fprintf(stderr, "HANG: no answer after %.0f s during %s\n", seconds, g_current);
      std::fflush(stderr);
      std::fflush(stdout);
      ExitProcess(4);
    }
  }
}

double ThreadCpuSeconds() {
  FILETIME created, exited, kernel, user;
  if (!GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user)) return 0;
  const auto ticks = [](const FILETIME& t) {
    return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
  };
  return static_cast<double>(ticks(kernel) + ticks(user)) / 1e7;
}

bool SameName(const std::string& a, const std::string& b) {
  return lstrcmpiA(StripBrackets(a).c_str(), StripBrackets(b).c_str()) == 0;
}

std::string TempFolder() {
  char buffer[MAX_PATH + 1] = {};
  GetTempPathA(MAX_PATH, buffer);
  char full[MAX_PATH + 1] = {};
  GetLongPathNameA(buffer, full, MAX_PATH);
  std::string folder = full[0] ? full : buffer;
  if (folder.empty() || folder.back() != '\\') folder += '\\';
  return folder;
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
}

// The tree the file actions read, write and wipe; files the actions removed come back.
fuzz::Sandbox MakeSandbox(const std::string& temp) {
  fuzz::Sandbox box;
  box.root = temp + "zadode_fuzz_" + std::to_string(GetCurrentProcessId());
  RemoveTree(box.root);
  CreateDirectoryA(box.root.c_str(), nullptr);
  for (const char* folder : {"sub", "empty dir", "sub\\deeper"}) {
    box.folders.push_back(box.root + "\\" + folder);
    CreateDirectoryA(box.folders.back().c_str(), nullptr);
  }
  box.folders.push_back(box.root);
  for (const char* file :
       {"a.txt", "b.bin", "empty.txt", "script.nbs", "readonly.txt", "space name.txt", "sub\\c.txt",
        "long name with.many.dots.txt", "base64.txt"})
    box.files.push_back(box.root + "\\" + file);
  return box;
}

// Everything the actions wrote goes, and the tree is made again: a file grown to hundreds of
// megabytes by one call would otherwise be read by every later call that names it.
void RestoreSandbox(const fuzz::Sandbox& box) {
  RemoveTree(box.root);  // the folder itself stays where it is the current one
  CreateDirectoryA(box.root.c_str(), nullptr);
  SetCurrentDirectoryA(box.root.c_str());
  for (const std::string& folder : box.folders) CreateDirectoryA(folder.c_str(), nullptr);
  std::string binary(3000, '\0');
  for (size_t i = 0; i < binary.size(); ++i) binary[i] = static_cast<char>(i * 7);
  const std::string contents[] = {"text\r\nsecond line\r\n",
                                  binary,
                                  "",
                                  "SetVar \"[A]\" \"from script\"\r\n.comment\r\n",
                                  "read only",
                                  "spaces",
                                  "in sub",
                                  "dots",
                                  "SGVsbG8sIHdvcmxkIQ=="};
  for (size_t i = 0; i < box.files.size(); ++i) {
    WriteBytes(box.files[i], contents[i]);
    if (box.files[i].find("readonly") != std::string::npos)
      SetFileAttributesA(box.files[i].c_str(), FILE_ATTRIBUTE_READONLY);
  }
}

// The file layer's temporary files found anywhere in the tree: every write, failed or not,
// must take its own away.
std::vector<std::string> StagingLeftovers(const std::string& folder) {
  std::vector<std::string> found;
  WIN32_FIND_DATAA data;
  const HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return found;
  do {
    const std::string name = data.cFileName;
    if (name == "." || name == "..") continue;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      for (std::string& inner : StagingLeftovers(folder + "\\" + name))
        found.push_back(std::move(inner));
    } else if (IsStagingName(name)) {
      found.push_back(folder + "\\" + name);
    }
  } while (FindNextFileA(find, &data));
  FindClose(find);
  return found;
}

// True when a file of the tree has grown past 2 MB: the reading actions are given texts and
// files of up to a megabyte or so, not what a list of a thousand "*" made of one.
bool Grown(const fuzz::Sandbox& box) {
  for (const std::string& file : box.files) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (GetFileAttributesExA(file.c_str(), GetFileExInfoStandard, &data) &&
        (data.nFileSizeHigh || data.nFileSizeLow > (2u << 20)))
      return true;
  }
  return false;
}

void SeedHostVariables(NbHost& host) {
  host.ClearVariables("");
  host.ClearLogs();
  for (const char* name : {"A", "B", "Arr0", "Arr1", "Arr2", "PubTitle", "Result"})
    host.SetVar(name, std::string("value of ") + name);
  host.SetVar("Multi", "line one\r\nline two=2\r\n=three");
}

// Host script from the plug-in: variable commands run; SaveVariables only into the temporary
// folder (where kxSaveVariables asks for its dump); actions and everything else are dropped,
// so a script cannot reach an action with parameters the driver did not make safe.
bool DevicePath(const std::string& line) {
  const size_t open = line.find('"');
  const size_t close = line.find('"', open + 1);
  if (open == std::string::npos || close == std::string::npos) return false;
  const std::string path = line.substr(open + 1, close - open - 1);
  char full[MAX_PATH * 4];
  const DWORD length = GetFullPathNameA(path.c_str(), sizeof(full), full, nullptr);
  return length > 4 && length < sizeof(full) && std::strncmp(full, "\\\\.\\", 4) == 0;
}

void RunHarmlessLines(NbHost& host, const std::string& temp, const std::string& text,
                      const std::function<void(const std::string&)>& report) {
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(start, end - start);
    const size_t first = line.find_first_not_of(" \t");
    if (first != std::string::npos) {
      const std::string command = line.substr(first, line.find_first_of(" \t", first) - first);
      auto is = [&](const char* name) { return lstrcmpiA(command.c_str(), name) == 0; };
      bool run = is("SetVar") || is("DefineVar") || is("ClearVariables");
      if (is("SaveVariables") && DevicePath(line)) {
        report("the host was asked to write a device: " + line.substr(0, 200));
        run = false;
      } else if (is("SaveVariables")) {
        const size_t quote = line.find('"');
        run = quote != std::string::npos &&
              CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, line.c_str() + quote + 1,
                             static_cast<int>(std::min(temp.size(), line.size() - quote - 1)),
                             temp.c_str(), static_cast<int>(temp.size())) == CSTR_EQUAL &&
              line.find("..", quote) == std::string::npos;
      }
      if (run) host.RunScript(line);
    }
    if (end >= text.size()) break;
    start = end + 1;
  }
}

template <typename Log>
void Release(Log& log) {
  Log().swap(log);
}

void ReleaseLogs(NbHost& host) {
  host.ClearLogs();
  Release(host.setCalls);
  Release(host.getCalls);
  Release(host.scripts);
  Release(host.messages);
  Release(host.requests);
  Release(host.scriptErrors);
}

// The guards themselves, before anything relies on them: each call below would change the
// machine, show something or write where it must not, and each must land in a stand-in that
// reports it. A guard that failed would end this process (TerminateProcess) or every Wine
// process of the prefix (ExitWindowsEx), which also fails the check.
int CheckGuards(const std::string& temp, const std::uint64_t& findings) {
  int failures = 0;
  auto expect = [&](bool ok, const char* what) {
    std::printf("%s: %s\n", ok ? "ok" : "FAILED", what);
    if (!ok) ++failures;
  };
  auto reported = [&](auto&& call) {
    const std::uint64_t before = findings;
    call();
    return findings > before;
  };
  expect(reported([] { ExitWindowsEx(EWX_LOGOFF | EWX_FORCE, 0); }),
         "ExitWindowsEx outside the seams is answered and reported");
  expect(reported([] { TerminateProcess(GetCurrentProcess(), 9); }),
         "TerminateProcess outside the seams is answered and reported");
  expect(reported([] { Seams().terminateProcess(GetCurrentProcess(), 9); }),
         "the TerminateProcess seam refuses the host's own process");
  Seams().exitWindowsEx(EWX_SHUTDOWN | EWX_FORCE, 0);
  expect(true, "the ExitWindowsEx seam returned (nothing shut down)");
  expect(reported([] { SendMessageA(HWND_BROADCAST, WM_SYSCOMMAND, SC_MONITORPOWER, 2); }),
         "SC_MONITORPOWER outside the seams is swallowed and reported");
  expect(Seams().sendMessage(HWND_BROADCAST, WM_SYSCOMMAND, SC_MONITORPOWER, 2) == 0,
         "the SendMessage seam swallows SC_MONITORPOWER");
  HMODULE powrprof = LoadLibraryA("powrprof.dll");
  FARPROC suspend = powrprof ? GetProcAddress(powrprof, "SetSuspendState") : nullptr;
  expect(!powrprof || (suspend && reinterpret_cast<void*>(suspend) !=
                                      reinterpret_cast<void*>(::GetProcAddress)),
         "SetSuspendState looked up by name is a stand-in");
  if (suspend) {
    using SuspendProc = BOOLEAN(WINAPI*)(BOOLEAN, BOOLEAN, BOOLEAN);
    reinterpret_cast<SuspendProc>(reinterpret_cast<void*>(suspend))(FALSE, FALSE, FALSE);
    expect(true, "SetSuspendState stand-in returned (the machine is awake)");
  }
  expect(reported([] { MessageBoxA(nullptr, "guard check", "fuzz_actions", MB_OK); }),
         "a message box is reported, not shown");
  expect(reported([] { SHFileOperationA(nullptr); }),
         "SHFileOperationA outside the seams is reported");

  fuzz::SetCallInProgress(true, false);
  const std::string outside = "C:\\zadode_guard_probe.txt";
  expect(reported([&] {
           HANDLE f =
               CreateFileA(outside.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
           if (f != INVALID_HANDLE_VALUE) CloseHandle(f);
         }) &&
             GetFileAttributesA(outside.c_str()) == INVALID_FILE_ATTRIBUTES,
         "a file written outside the temporary folder is refused");
  for (const char* device : {"NUL", "CON", "AUX", "\\\\.\\PhysicalDrive0"})
    expect(reported([&] {
             HANDLE f = CreateFileA(device, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
             if (f != INVALID_HANDLE_VALUE) CloseHandle(f);
           }),
           (std::string("a device opened for writing is refused: ") + device).c_str());
  const std::string inside = temp + "zadode_guard_probe.txt";
  expect(!reported([&] {
    HANDLE f = CreateFileA(inside.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (f != INVALID_HANDLE_VALUE) CloseHandle(f);
    DeleteFileA(inside.c_str());
  }),
         "a file in the temporary folder may be written");
  const std::wstring wideInside = L"\\\\?\\" + std::wstring(inside.begin(), inside.end());
  expect(reported([&] {
           MoveFileExW(wideInside.c_str(), L"\\\\?\\C:\\zadode_guard_probe.txt",
                       MOVEFILE_REPLACE_EXISTING);
         }) &&
             GetFileAttributesA(outside.c_str()) == INVALID_FILE_ATTRIBUTES,
         "a file renamed out of the temporary folder by the wide call is refused");
  expect(!reported([&] {
    WriteAll(inside, "staged");
    DeleteFileA(inside.c_str());
  }) && StagingLeftovers(temp.substr(0, temp.size() - 1)).empty(),
         "the file layer's replacement in the temporary folder is let through and cleans up");
  expect(reported([] { DeleteFileA("C:\\windows\\win.ini"); }) &&
             GetFileAttributesA("C:\\windows\\win.ini") != INVALID_FILE_ATTRIBUTES,
         "a file outside the temporary folder is not deleted");
  fuzz::SetCallInProgress(false, false);

  // The memory verdict relies on the host giving back what one large call made it hold.
  {
    NbHost host(InProcessExports());
    SeedHostVariables(host);
    ReleaseLogs(host);
    const long long before = fuzz::MallocBytes();
    for (int i = 0; i < 100000; ++i) {
      host.setCalls.push_back({"Name" + std::to_string(i), "value"});
      host.SetVar("Name" + std::to_string(i), "value");
    }
    const long long held = fuzz::MallocBytes() - before;
    SeedHostVariables(host);
    ReleaseLogs(host);
    const long long kept = fuzz::MallocBytes() - before;
    expect(held > (8 << 20), "the C heap count sees 100,000 host variables and log entries");
    expect(kept < (64 << 10), "the host's logs and variables give their memory back");
  }
  std::printf("fuzz_actions --check-guards: %d failed\n", failures);
  std::fflush(stdout);
  ExitProcess(failures ? 1 : 0);
}

// True when `id` is one of the ids and ranges of `list` ("3,5-9").
bool Listed(const std::string& list, int id) {
  for (size_t at = 0; at < list.size();) {
    char* end = nullptr;
    const long low = std::strtol(list.c_str() + at, &end, 10);
    long high = low;
    if (*end == '-') high = std::strtol(end + 1, &end, 10);
    if (id >= low && id <= high) return true;
    at = static_cast<size_t>(end - list.c_str()) + 1;
  }
  return false;
}

struct IdStats {
  std::uint64_t calls = 0, failures = 0, findings = 0;
  double firstSeconds = 0, maxSeconds = 0;
};

}  // namespace

int main(int argc, char** argv) {
  Options options;
  options.seed = static_cast<std::uint64_t>(std::time(nullptr)) ^ GetCurrentProcessId();
  bool checkGuards = false;
  if (argc == 2 && std::string(argv[1]) == "--check-guards") checkGuards = true;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string flag = argv[i];
    const char* value = argv[i + 1];
    if (flag == "--seed")
      options.seed = std::strtoull(value, nullptr, 0);
    else if (flag == "--calls")
      options.calls = std::strtoull(value, nullptr, 0);
    else if (flag == "--warmup")
      options.warmup = std::strtoull(value, nullptr, 0);
    else if (flag == "--only")
      options.only = value;
    else if (flag == "--replay")
      options.replay = std::atoll(value);
    else if (flag == "--slow")
      options.slowSeconds = std::atof(value);
    else {
      std::fprintf(stderr, "fuzz_actions: unknown option %s\n", flag.c_str());
      return 2;
    }
  }
  if (options.warmup == 0) options.warmup = options.calls / 10;
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  std::printf("fuzz_actions: seed %llu, %llu calls, warm-up %llu, code page %u\n",
              static_cast<unsigned long long>(options.seed),
              static_cast<unsigned long long>(options.calls),
              static_cast<unsigned long long>(options.warmup), GetACP());

  const std::string temp = TempFolder();
  const fuzz::Sandbox sandbox = MakeSandbox(temp);
  RestoreSandbox(sandbox);
  SetCurrentDirectoryA(sandbox.root.c_str());

  std::uint64_t findings = 0;
  std::map<int, IdStats> stats;
  int currentId = 0;
  auto finding = [&](const std::string& what) {
    ++findings;
    if (currentId) ++stats[currentId].findings;
    if (findings <= 40) std::printf("FINDING: %s\n  during %s\n", what.c_str(), g_current);
  };

  fuzz::GuardOptions guards;
  guards.writableRoot = temp;
  guards.seed = options.seed;
  guards.report = finding;
  fuzz::InstallGuards(guards);
  fuzz::StartWindowWatcher();
  SetUnhandledExceptionFilter(&OnCrash);
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  static double hangSeconds = options.hangSeconds;
  CloseHandle(CreateThread(nullptr, 0, &Watchdog, &hangSeconds, 0, nullptr));

  if (checkGuards) return CheckGuards(temp, findings);

  NbHost host(InProcessExports());
  host.scriptHook = [&](const std::string& text) { RunHarmlessLines(host, temp, text, finding); };

  // Every action must be classified, with one slot letter per catalogue parameter.
  std::vector<int> ids;
  int unclassified = 0;
  for (int id = 1; id <= kActionCount; ++id) {
    const CatalogueRow& row = *FindAction(id);
    const fuzz::ActionClass* action = fuzz::FindClass(row);
    if (!action || static_cast<int>(action->slots.size()) != row.kinds.count()) {
      std::printf(
          "UNCLASSIFIED: action %d (%s) has no row of the right length in the driver's "
          "table\n",
          id, std::string(row.name).c_str());
      ++unclassified;
      continue;
    }
    if (options.only.empty() || Listed(options.only, id)) ids.push_back(id);
  }
  if (unclassified) return 1;
  std::printf("fuzz_actions: %zu actions fuzzed\n", ids.size());
  if (ids.empty()) return 0;

  char dateSeparator[8] = "/";
  GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDATE, dateSeparator, sizeof(dateSeparator));
  fuzz::InputMaker maker(sandbox, fuzz::DriverWindow(), dateSeparator);

  const std::string unexpected = "Unexpected error in";
  const std::string outOfMemory = SystemErrorText(ERROR_NOT_ENOUGH_MEMORY);
  fuzz::ResourceCounts baseline;
  long long mallocFloor = 0;  // after the host's variables were last seeded
  std::uint64_t floorCall = 0, floorRises = 0;
  bool seeded = false;
  bool baselineTaken = false;
  std::uint64_t done = 0, slowLargeResults = 0, slowWaits = 0, slowAllowed = 0;
  const auto started = Clock::now();
  SeedHostVariables(host);
  const std::uint64_t checkpoint =
      std::max<std::uint64_t>(10000, (options.calls - options.warmup) / 10);

  const std::uint64_t first = options.replay >= 0 ? static_cast<std::uint64_t>(options.replay) : 0;
  const std::uint64_t last = options.replay >= 0 ? first + 1 : options.calls;
  const long long mallocBeforeReplay = fuzz::MallocBytes();
  for (std::uint64_t number = first; number < last; ++number) {
    if (options.replay < 0 && number == options.warmup) {
      SeedHostVariables(host);
      baseline = fuzz::CountResources();
      baselineTaken = true;
      mallocFloor = baseline.mallocBytes;
      floorCall = number;
    }
    const int id = ids[number % ids.size()];
    // With the host's variables few again and the last call's parameters gone, what the C
    // heap holds is what stays: a rise names the calls since the last such point.
    if (baselineTaken && seeded) {
      const long long floor = fuzz::MallocBytes();
      if (floor > mallocFloor + (64 << 10) && ++floorRises <= 20) {
        std::printf("C heap kept %lld KB more after calls %llu to %llu:",
                    (floor - mallocFloor) / 1024, static_cast<unsigned long long>(floorCall),
                    static_cast<unsigned long long>(number - 1));
        for (std::uint64_t n = floorCall; n < number; ++n)
          std::printf(" %s", std::string(FindAction(ids[n % ids.size()])->name).c_str());
        std::printf("\n");
      }
      if (floor > mallocFloor) mallocFloor = floor;
      floorCall = number;
    }
    seeded = false;
    const CatalogueRow& row = *FindAction(id);
    const fuzz::ActionClass& action = *fuzz::FindClass(row);
    auto params = maker.Make(options.seed, number, action);
    const bool nullBlock = number % 997 == 13;  // the host may hand over no block at all
    std::snprintf(g_current, sizeof(g_current),
                  "call %llu (replay: --seed %llu --replay %llu%s), "
                  "%s [%s]: %s",
                  static_cast<unsigned long long>(number),
                  static_cast<unsigned long long>(options.seed),
                  static_cast<unsigned long long>(number),
                  options.only.empty() ? "" : (" --only " + options.only).c_str(),
                  std::string(row.name).c_str(), std::string(fuzz::ClassName(action.kind)).c_str(),
                  nullBlock ? "null parameter block" : fuzz::Describe(params).c_str());
    std::vector<const char*> block(8, nullptr);
    for (size_t i = 0; i < params.size(); ++i) block[i] = params[i] ? params[i]->c_str() : nullptr;

    currentId = id;
    IdStats& idStats = stats[id];
    const bool dialogs =
        action.kind == fuzz::Class::kDialogSeam || action.kind == fuzz::Class::kDialogWatcher;
    const double extraSeconds = !nullBlock && action.extraSeconds ? action.extraSeconds(params) : 0;
    const double limit = options.slowSeconds + extraSeconds;
    g_callExtraMs = static_cast<LONGLONG>(std::min(extraSeconds, 1e9) * 1000);
    fuzz::SetCallInProgress(true, dialogs);
    g_callStartMs = NowMs();
    InterlockedExchange(&g_inCall, 1);
    const auto before = Clock::now();
    const double cpuBefore = ThreadCpuSeconds();
    const bool result = nullBlock ? nbExecAction(id, nullptr, 7) != FALSE : host.Exec(id, block);
    const double seconds = std::chrono::duration<double>(Clock::now() - before).count();
    const double cpuSeconds = ThreadCpuSeconds() - cpuBefore;
    InterlockedExchange(&g_inCall, 0);
    fuzz::SetCallInProgress(false, false);
    // NeoBook runs its message loop between script lines; without one, the window system's
    // notifications about our windows queue up unread (under Wine, as X events in memory).
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }

    ++idStats.calls;
    if (idStats.calls == 1)
      idStats.firstSeconds = seconds;
    else if (seconds > idStats.maxSeconds)
      idStats.maxSeconds = seconds;
    // A result of hundreds of megabytes (kxDupeStr allows 256 MB) is what the author asked
    // for; its copying is timed apart from the one-second rule.
    size_t handedOver = 0;
    for (const auto& call : host.setCalls) handedOver += call.value.size();
    // On a shared machine a call can wait for a processor longer than it runs: a call is slow
    // when it used the time itself, or kept the host waiting five times the limit.
    if (idStats.calls > 1 && seconds > options.slowSeconds) {
      if (handedOver > (16u << 20))
        ++slowLargeResults;
      else if (seconds <= limit)
        ++slowAllowed;
      else if (cpuSeconds > limit / 2 || seconds > 5 * limit)
        finding("slow call: " + std::to_string(seconds) + " s (" + std::to_string(cpuSeconds) +
                " s on the processor" +
                (extraSeconds ? ", " + std::to_string(limit) + " s allowed" : std::string()) + ")");
      else
        ++slowWaits;
    }

    // Failures reach the author through LastError first, then "False", then the result.
    const int resultSlot = row.ResultSlot();
    const std::string resultName =
        !nullBlock && resultSlot >= 0 && params[resultSlot] ? *params[resultSlot] : std::string();
    long lastErrorAt = -1, falseAt = -1;
    for (size_t i = 0; i < host.setCalls.size(); ++i) {
      const auto& call = host.setCalls[i];
      if (lastErrorAt < 0 && SameName(call.name, "LastError")) {
        lastErrorAt = static_cast<long>(i);
        if (call.value.compare(0, unexpected.size(), unexpected) == 0)
          finding("an exception reached the export: " + call.value.substr(0, 200));
        // kxErrorMessage "8" into [LastError] writes that text as its answer.
        if (call.value == outOfMemory && !SameName(resultName, "LastError"))
          finding("out of memory reported (std::bad_alloc)");
      }
      if (falseAt < 0 && !IsBlank(resultName) && call.name == resultName && call.value == "False")
        falseAt = static_cast<long>(i);
    }
    if (!result) {
      ++idStats.failures;
      if (action.reportsEveryFailure && lastErrorAt < 0)
        finding("failed without writing LastError");
    }
    if (lastErrorAt >= 0 && falseAt >= 0 && falseAt < lastErrorAt &&
        !SameName(resultName, "LastError"))
      finding("\"False\" written before LastError");
    if (action.kind == fuzz::Class::kWritesSandbox)
      for (const std::string& left : StagingLeftovers(sandbox.root)) {
        finding("a temporary file was left behind: " + left);
        DeleteFileA(left.c_str());
      }
    std::string classes;
    if (const int closed = fuzz::TakeClosedWindows(&classes); closed && !dialogs)
      finding(std::to_string(closed) + " window(s) shown and closed by the watcher: " + classes);
    currentId = 0;

    // The host's logs go with their capacity: a call with a million assignments would
    // otherwise leave megabytes reserved that read as the plug-in's growth. Assigning "{}"
    // would not do it: that is the initializer-list assignment, which keeps the capacity.
    ReleaseLogs(host);
    // The host's variables stay few and small: every variable action has the host dump all
    // of them, so megabytes left over from one call would be timed against the next.
    size_t hostBytes = 0;
    for (const auto& [name, value] : host.Variables()) hostBytes += name.size() + value.size();
    if (number % 32 == 31 || host.Variables().size() > 64 || hostBytes > (4u << 20)) {
      SeedHostVariables(host);
      seeded = true;
    }
    if (number % 256 == 255 || (action.kind == fuzz::Class::kWritesSandbox && Grown(sandbox)))
      RestoreSandbox(sandbox);
    ++done;
    // Memory at each tenth of the measured calls: a leak climbs steadily, the heap's
    // high-water mark levels off.
    if (baselineTaken && (number + 1 - options.warmup) % checkpoint == 0) {
      params.clear();  // a 1 MB text of this call's is not what stays
      SeedHostVariables(host);
      const fuzz::ResourceCounts now = fuzz::CountResources();
      std::printf(
          "... %llu calls: private bytes %llu, C heap %lld, heaps %llu live, %llu free, %llu "
          "committed\n",
          static_cast<unsigned long long>(number + 1), now.privateBytes, now.mallocBytes,
          now.heapBusy, now.heapFree, now.heapCommitted);
    }
    if (done % 100000 == 0)
      std::printf("... %llu calls, %llu findings, %.0f s\n", static_cast<unsigned long long>(done),
                  static_cast<unsigned long long>(findings),
                  std::chrono::duration<double>(Clock::now() - started).count());
  }
  const double elapsed = std::chrono::duration<double>(Clock::now() - started).count();
  if (options.replay >= 0) {
    SeedHostVariables(host);
    std::printf("replayed %s\n  the C heap holds %lld bytes more than before it\n", g_current,
                fuzz::MallocBytes() - mallocBeforeReplay);
  }

  std::printf("fuzz_actions: %llu calls in %.1f s (%.0f calls/s), %llu findings\n",
              static_cast<unsigned long long>(done), elapsed, done / (elapsed > 0 ? elapsed : 1),
              static_cast<unsigned long long>(findings));
  if (slowWaits)
    std::printf("  %llu calls over the time limit spent it waiting for a processor\n",
                static_cast<unsigned long long>(slowWaits));
  if (slowAllowed)
    std::printf(
        "  %llu calls over the time limit did the work or waiting their parameters ask for\n",
        static_cast<unsigned long long>(slowAllowed));
  if (slowLargeResults)
    std::printf("  %llu calls over the time limit handed the host more than 16 MB\n",
                static_cast<unsigned long long>(slowLargeResults));
  std::printf(
      "  id  name                   class                        calls  false  "
      "first ms  max ms\n");
  for (const auto& [id, s] : stats)
    std::printf("  %2d  %-22s %-28s %6llu %6llu %9.1f %7.1f%s\n", id,
                std::string(FindAction(id)->name).c_str(),
                std::string(fuzz::ClassName(fuzz::FindClass(*FindAction(id))->kind)).c_str(),
                static_cast<unsigned long long>(s.calls),
                static_cast<unsigned long long>(s.failures), s.firstSeconds * 1000,
                s.maxSeconds * 1000, s.findings ? "  <- findings" : "");

  int status = findings ? 1 : 0;
  if (baselineTaken) {
    SeedHostVariables(host);
    const fuzz::ResourceCounts after = fuzz::CountResources();
    std::printf("resources after warm-up: %s\n", baseline.ToString().c_str());
    std::printf("resources at the end:    %s\n", after.ToString().c_str());
    // Memory is judged three ways, each flat within 1 MB: the C heap, counted at the import
    // table; the live blocks of all the program's heaps (where Windows keeps what the plug-in
    // asked it for); and private bytes, which also see what the system keeps for us outside
    // any heap (the driver pumps its messages between calls as a host does, or Wine keeps
    // every unread notification about the driver's window).
    const long long privateGrowth =
        static_cast<long long>(after.privateBytes) - static_cast<long long>(baseline.privateBytes);
    const long long mallocGrowth = after.mallocBytes - baseline.mallocBytes;
    const long long heapGrowth =
        static_cast<long long>(after.heapBusy) - static_cast<long long>(baseline.heapBusy);
    std::printf(
        "growth over %llu calls: host texts %lld, handles %ld, GDI %ld, USER %ld, "
        "C heap %lld, heaps' live blocks %lld, private bytes %lld\n",
        static_cast<unsigned long long>(done - options.warmup),
        after.globalBlocks - baseline.globalBlocks,
        static_cast<long>(after.handles) - static_cast<long>(baseline.handles),
        static_cast<long>(after.gdiObjects) - static_cast<long>(baseline.gdiObjects),
        static_cast<long>(after.userObjects) - static_cast<long>(baseline.userObjects),
        mallocGrowth, heapGrowth, privateGrowth);
    std::printf(
        "  GDI and USER objects created through the imports and alive: GDI %lld, "
        "USER %lld\n",
        after.trackedGdi - baseline.trackedGdi, after.trackedUser - baseline.trackedUser);
    if (after.globalBlocks > baseline.globalBlocks || after.handles > baseline.handles ||
        after.gdiObjects > baseline.gdiObjects || after.userObjects > baseline.userObjects ||
        after.trackedGdi > baseline.trackedGdi || after.trackedUser > baseline.trackedUser ||
        mallocGrowth > (1 << 20) || heapGrowth > (1 << 20) || privateGrowth > (1 << 20)) {
      std::printf("LEAK: resources grew between warm-up and the end\n");
      status = 1;
    }
  }
  SetCurrentDirectoryA(temp.c_str());
  RemoveTree(sandbox.root);
  std::fflush(stdout);
  // Without running the plug-in's and the host's static destructors a second time under a
  // half-torn-down Wine: the verdict is in.
  ExitProcess(static_cast<UINT>(status));
}
