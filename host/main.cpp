// nbhost [--plugin PATH] [--version TEXT] [--strict] SCRIPT   runs a script, prints the
//                                                             variables
// nbhost [--plugin PATH] --catalogue                          prints what the plug-in registered
// nbhost [--plugin PATH] [--version TEXT] --edit ID [--variable T] [--editor T] [--color T]
//        [--ok] [SLOT...]   opens the action's property dialog, prints the slots after OK
// --publication TITLE opens the publication's windows first (PubTitle, WinHandle)
// --cancel cancels every dialog the script shows, as soon as it shows
// --memory reports the largest free address block at the start and the peak working set at
//          the end on standard error
// Each action that answers false is reported on standard error ("line 12: kxSetVar answered
// false"); --strict ends the run there with exit code 1.
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <stdexcept>
#include <thread>
#include <vector>

#include "host.h"
// After host.h, which brings windows.h.
#include <psapi.h>

namespace {

// The plug-in speaks the ANSI code page; print UTF-8 so Russian texts read on a Linux
// terminal too (WriteConsoleW when the output is a real console).
void Print(const std::string& ansi) {
  const int wide =
      MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
  std::wstring text(static_cast<size_t>(wide), L'\0');
  MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), text.data(), wide);
  HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  DWORD mode = 0, written = 0;
  if (GetConsoleMode(out, &mode)) {
    WriteConsoleW(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    return;
  }
  const int bytes =
      WideCharToMultiByte(CP_UTF8, 0, text.data(), wide, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), wide, utf8.data(), bytes, nullptr, nullptr);
  std::fwrite(utf8.data(), 1, utf8.size(), stdout);
  std::fflush(stdout);
}

std::string Visible(const std::string& text) {
  std::string out;
  for (char c : text) out += c == '\n' ? std::string("\\n") : std::string(1, c);
  return out;
}

// Script files are ANSI, as NeoBook's are; a UTF-8 file with a byte-order mark is converted.
std::string ReadScript(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read script " + path);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (bytes.rfind("\xEF\xBB\xBF", 0) != 0) return bytes;
  bytes.erase(0, 3);
  const int wide =
      MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::wstring text(static_cast<size_t>(wide), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), wide);
  const int ansi = WideCharToMultiByte(CP_ACP, 0, text.data(), wide, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(ansi), '\0');
  WideCharToMultiByte(CP_ACP, 0, text.data(), wide, out.data(), ansi, nullptr, nullptr);
  return out;
}

// The visible dialog among a thread's top-level windows (EnumThreadWindows callback).
BOOL CALLBACK FindVisibleDialog(HWND window, LPARAM out) {
  char cls[16] = {};
  GetClassNameA(window, cls, sizeof cls);
  if (lstrcmpA(cls, "#32770") != 0 || !IsWindowVisible(window)) return TRUE;
  *reinterpret_cast<HWND*>(out) = window;
  return FALSE;
}

// Room for one large allocation: what fragmentation of the address space leaves.
size_t LargestFreeBlock() {
  size_t largest = 0;
  MEMORY_BASIC_INFORMATION info{};
  for (auto* at = static_cast<char*>(nullptr); VirtualQuery(at, &info, sizeof info) == sizeof info;
       at += info.RegionSize) {
    if (info.State == MEM_FREE && info.RegionSize > largest) largest = info.RegionSize;
    if (at + info.RegionSize < at) break;
  }
  return largest;
}

size_t PeakWorkingSet() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  return K32GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)
             ? counters.PeakWorkingSetSize
             : 0;
}

// Presses Cancel in each dialog the UI thread shows until `done`, so a script with dialog
// actions runs unattended.
std::thread DialogCanceller(const std::atomic<bool>& done) {
  return std::thread([ui = GetCurrentThreadId(), &done] {
    while (!done) {
      HWND dialog = nullptr;
      EnumThreadWindows(ui, &FindVisibleDialog, reinterpret_cast<LPARAM>(&dialog));
      if (dialog) PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
      Sleep(10);
    }
  });
}

int Usage() {
  std::fprintf(stderr,
               "usage: nbhost [--plugin PATH] [--version TEXT] [--publication TITLE] [--strict] "
               "[--cancel] [--memory] SCRIPT\n"
               "       nbhost [--plugin PATH] --catalogue\n"
               "       nbhost [--plugin PATH] [--version TEXT] --edit ID [--variable TEXT]\n"
               "              [--editor TEXT] [--color TEXT] [--ok] [SLOT...]\n");
  return 2;
}

// What NeoBook's editor does when the author opens an action's properties: the slots hold
// GlobalAlloc'd texts, the plug-in replaces them on OK. The host's pickers answer from the
// options: --variable (request 14), --editor (request 2), --color (request 10).
int EditCommand(const std::string& plugin, const std::string& version, int argc, char** argv,
                int first) {
  if (first >= argc) return Usage();
  const int id = std::atoi(argv[first]);
  std::map<int, std::string> answers;
  std::vector<std::string> texts;
  bool confirm = false;
  for (int i = first + 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const int request = arg == "--variable" ? 14
                        : arg == "--editor" ? 2
                        : arg == "--color"  ? 10
                                            : 0;
    if (arg == "--ok")
      confirm = true;
    else if (request && i + 1 < argc)
      answers[request] = argv[++i];
    else
      texts.push_back(arg);
  }
  NbHost host(plugin);
  host.versionText = version;
  host.echoMessages = true;
  host.pickerHook = [&answers](int request, const std::string&) -> std::optional<std::string> {
    const auto found = answers.find(request);
    if (found == answers.end()) return std::nullopt;
    return found->second;
  };
  int count = 0;
  for (const auto& entry : host.Catalogue())
    if (entry.id == id && id != 0) count = entry.count;
  // Eight slots whatever the action's count, as the host's parameter block has.
  std::vector<char*> slots(8, nullptr);
  for (size_t i = 0; i < texts.size() && i < slots.size(); ++i) {
    slots[i] = static_cast<char*>(GlobalAlloc(GMEM_FIXED, texts[i].size() + 1));
    if (slots[i]) std::memcpy(slots[i], texts[i].c_str(), texts[i].size() + 1);
  }
  // --ok: confirm the dialog as soon as it shows, as an author pressing OK at once would.
  std::thread presser;
  if (confirm) {
    presser = std::thread([ui = GetCurrentThreadId()] {
      for (int i = 0; i < 1000; ++i) {
        HWND form = nullptr;
        EnumThreadWindows(ui, &FindVisibleDialog, reinterpret_cast<LPARAM>(&form));
        if (form) {
          PostMessageA(form, WM_COMMAND, IDOK, 0);
          return;
        }
        Sleep(10);
      }
    });
  }
  const bool ok = host.Edit(id, slots);
  if (presser.joinable()) presser.join();
  if (ok) {
    for (int i = 0; i < count; ++i)
      Print("slot " + std::to_string(i) + "=" + Visible(slots[i] ? slots[i] : "") + "\n");
  } else {
    Print("cancelled\n");
  }
  for (char* slot : slots)
    if (slot) GlobalFree(slot);
  return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  std::string plugin = NbHost::DefaultPluginPath(), script;
  std::string version = "5.8.7";
  bool catalogue = false, strict = false, cancel = false, memory = false;
  std::string publication;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--plugin" && i + 1 < argc)
      plugin = argv[++i];
    else if (arg == "--version" && i + 1 < argc)
      version = argv[++i];
    else if (arg == "--publication" && i + 1 < argc)
      publication = argv[++i];
    else if (arg == "--catalogue")
      catalogue = true;
    else if (arg == "--strict")
      strict = true;
    else if (arg == "--cancel")
      cancel = true;
    else if (arg == "--memory")
      memory = true;
    else if (arg == "--edit") {
      try {
        return EditCommand(plugin, version, argc, argv, i + 1);
      } catch (const std::exception& e) {
        std::fprintf(stderr, "nbhost: %s\n", e.what());
        return 1;
      }
    } else if (!arg.empty() && arg[0] != '-' && script.empty())
      script = arg;
    else
      return Usage();
  }
  if (!catalogue && script.empty()) return Usage();
  try {
    NbHost host(plugin);
    host.versionText = version;
    host.echoMessages = true;
    host.strict = strict;
    host.recordSetCalls = false;
    if (catalogue) {
      Print(host.title + " (" + host.publisher + "): " + host.hint + "\n");
      for (const auto& entry : host.Catalogue()) {
        std::string kinds;
        for (int k = 0; k < entry.count; ++k)
          kinds += (k ? " " : "") + std::to_string(entry.kinds[k]);
        if (entry.id == 0)
          Print("\n[" + entry.name + "]\n");
        else
          Print(std::to_string(entry.id) + "\t" + entry.name + "\t" +
                (kinds.empty() ? "-" : kinds) + "\t" + Visible(entry.hint) + "\n");
      }
      return 0;
    }
    if (!publication.empty()) host.OpenPublication(publication);
    const size_t freeAtStart = memory ? LargestFreeBlock() : 0;
    std::string error;
    std::atomic<bool> done = false;
    std::thread canceller = cancel ? DialogCanceller(done) : std::thread();
    const bool ok = host.RunScript(ReadScript(script), &error);
    done = true;
    if (canceller.joinable()) canceller.join();
    if (memory)
      std::fprintf(stderr, "nbhost: largest free address block %u MB, peak working set %u MB\n",
                   static_cast<unsigned>(freeAtStart >> 20),
                   static_cast<unsigned>(PeakWorkingSet() >> 20));
    bool first = true;
    for (const auto& [name, value] : host.Variables()) {
      for (const auto& heading : host.HeadingsBefore(name))
        Print(std::string(first ? "" : "\n") + "== " + heading + " ==\n");
      first = false;
      Print(name + "=" + value + "\n");
    }
    for (const auto& answer : host.falseAnswers) std::fprintf(stderr, "%s\n", answer.c_str());
    // A strict run's stop at a false answer was reported just above.
    const bool stoppedAtFalse =
        strict && !host.falseAnswers.empty() && error == host.falseAnswers.back();
    if (!ok && stoppedAtFalse) return 1;
    if (!ok) {
      std::fprintf(stderr, "nbhost: %s: %s\n", script.c_str(), error.c_str());
      return 1;
    }
    return host.scriptErrors.empty() ? 0 : 1;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "nbhost: %s\n", e.what());
    return 1;
  }
}
