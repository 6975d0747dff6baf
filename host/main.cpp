// nbhost [--plugin PATH] [--version TEXT] [--strict] SCRIPT   runs a script, prints the
//                                                             variables
// nbhost [--plugin PATH] --catalogue                          prints what the plug-in registered
// nbhost [--plugin PATH] --catalogue-tsv                      the same, one action a line:
//        id, name, category, kinds, hint (tab-separated; control characters as [#NN])
// nbhost [--plugin PATH] --forms        every property form: its texts, each field's slot,
//        label, default text, buttons and items (tab-separated; needs a display)
// nbhost [--plugin PATH] --blocks SCRIPT   runs each block (from a ".== title" line to the
//        next) with fresh variables and prints, per block, its title, its false answers and
//        errors ("! ...") and the variables it left (name=value, control characters as [#NN])
// nbhost [--plugin PATH] [--version TEXT] --edit ID [--variable T] [--editor T] [--color T]
//        [--ok] [SLOT...]   opens the action's property dialog, prints the slots after OK
// --publication TITLE opens the publication's windows first (PubTitle, WinHandle)
// --cancel cancels every dialog the script shows, as soon as it shows
// --memory reports the largest free address block at the start and the peak working set at
//          the end on standard error
// Each action that answers false is reported on standard error ("line 12: kxSetVar answered
// false"); --strict ends the run there with exit code 1.
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <list>
#include <map>
#include <optional>
#include <stdexcept>
#include <thread>
#include <vector>

#include "editor/form_layer.h"
#include "host.h"
// After host.h, which brings windows.h.
#include <psapi.h>

namespace {

// Print UTF-8 so Russian texts read on a Linux terminal too (WriteConsoleW when the output is
// a real console).
void PrintWide(const std::wstring& text) {
  const int wide = static_cast<int>(text.size());
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

// The plug-in speaks the ANSI code page.
void Print(const std::string& ansi) {
  const int wide =
      MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
  std::wstring text(static_cast<size_t>(wide), L'\0');
  MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), text.data(), wide);
  PrintWide(text);
}

std::string Visible(const std::string& text) {
  std::string out;
  for (char c : text) out += c == '\n' ? std::string("\\n") : std::string(1, c);
  return out;
}

// One field of the machine-readable listings: control characters as NeoBook writes them.
template <typename Text>
Text Field(const Text& text) {
  Text out;
  for (auto c : text) {
    if (static_cast<unsigned>(c) >= 32) {
      out += c;
      continue;
    }
    for (char d : "[#" + std::to_string(static_cast<unsigned>(c)) + "]")
      out += static_cast<typename Text::value_type>(d);
  }
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

// The dialog thread `ui` shows, once it is visible; null after ten seconds without one.
HWND WaitForDialog(DWORD ui) {
  HWND dialog = nullptr;
  for (int i = 0; i < 1000 && !dialog; ++i, Sleep(10))
    EnumThreadWindows(ui, &FindVisibleDialog, reinterpret_cast<LPARAM>(&dialog));
  return dialog;
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

// An action's parameter kinds as registered, separated by blanks.
std::string KindsText(const CatalogueEntry& entry) {
  std::string kinds;
  for (int k = 0; k < entry.count; ++k) kinds += (k ? " " : "") + std::to_string(entry.kinds[k]);
  return kinds;
}

int Usage() {
  std::fprintf(stderr,
               "usage: nbhost [--plugin PATH] [--version TEXT] [--publication TITLE] [--strict] "
               "[--cancel] [--memory] SCRIPT\n"
               "       nbhost [--plugin PATH] --catalogue | --catalogue-tsv | --forms\n"
               "       nbhost [--plugin PATH] [--publication TITLE] --blocks SCRIPT\n"
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
      if (HWND form = WaitForDialog(ui)) PostMessageA(form, WM_COMMAND, IDOK, 0);
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

std::wstring WindowText(HWND window) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(
      static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

std::wstring ItemText(HWND box, bool list, int index) {
  const LRESULT length = SendMessageW(box, list ? LB_GETTEXTLEN : CB_GETLBTEXTLEN, index, 0);
  std::wstring text(static_cast<size_t>(length < 0 ? 0 : length) + 1, L'\0');
  SendMessageW(box, list ? LB_GETTEXT : CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(length < 0 ? 0 : length));
  return text;
}

// A property form as the author sees it: read while it runs, by a thread of its own.
struct FormView {
  std::wstring caption, description, test;
  struct Input {
    std::wstring label, text;
    std::vector<std::wstring> buttons, items;
    int slot = -1;
  };
  std::vector<Input> inputs;
};

FormView ReadForm(HWND form) {
  FormView view;
  view.caption = WindowText(form);
  view.description = WindowText(GetDlgItem(form, IDT_ACTION_DESC));
  if (HWND test = GetDlgItem(form, IDB_TEST)) view.test = WindowText(test);
  for (int frame = 0; HWND label = GetDlgItem(form, FrameControlId(frame, IDT_FRAME_LABEL));
       ++frame) {
    FormView::Input input;
    input.label = WindowText(label);
    HWND field = GetDlgItem(form, FrameControlId(frame, IDE_FRAME_INPUT));
    input.text = WindowText(field);
    for (const FramePart part : {IDB_FRAME_VARIABLES, IDB_FRAME_OBJECTS, IDB_FRAME_FILES,
                                 IDB_FRAME_FONT, IDB_FRAME_COLOR}) {
      HWND button = GetDlgItem(form, FrameControlId(frame, part));
      if (button && IsWindowVisible(button)) input.buttons.push_back(WindowText(button));
    }
    HWND list = GetDlgItem(form, FrameControlId(frame, IDL_FRAME_LIST));
    HWND box = list ? list : field;
    const LRESULT count = SendMessageW(box, list ? LB_GETCOUNT : CB_GETCOUNT, 0, 0);
    for (int i = 0; i < count; ++i) input.items.push_back(ItemText(box, list != nullptr, i));
    // What OK writes back tells which slot the field edits.
    SetWindowTextW(field, (L"{" + std::to_wstring(frame) + L"}").c_str());
    view.inputs.push_back(input);
  }
  return view;
}

// Every action's property form, as lines of tab-separated fields:
//   form ID CAPTION DESCRIPTION TEST-BUTTON      then one line per field, top to bottom:
//   field ID SLOT LABEL DEFAULT-TEXT BUTTONS ITEMS   (buttons and items joined by "|")
int FormsCommand(const std::string& plugin) {
  NbHost host(plugin);
  for (const auto& entry : host.Catalogue()) {
    if (entry.id == 0 || entry.count == 0) continue;
    std::vector<char*> slots(8, nullptr);
    FormView view;
    std::thread reader([&view, ui = GetCurrentThreadId()] {
      const HWND form = WaitForDialog(ui);
      if (!form) return;
      SendMessageW(form, WM_NULL, 0, 0);  // answered once the form's loop runs
      view = ReadForm(form);
      PostMessageW(form, WM_COMMAND, IDOK, 0);
    });
    const bool ok = host.Edit(entry.id, slots);
    reader.join();
    for (int slot = 0; slot < 8; ++slot) {
      const std::string text = slots[slot] ? slots[slot] : "";
      if (slots[slot]) GlobalFree(slots[slot]);
      for (size_t frame = 0; frame < view.inputs.size(); ++frame)
        if (text == "{" + std::to_string(frame) + "}") view.inputs[frame].slot = slot;
    }
    if (!ok || view.inputs.empty()) throw std::runtime_error("no form for " + entry.name);
    const std::wstring id = std::to_wstring(entry.id);
    PrintWide(L"form\t" + id + L"\t" + Field(view.caption) + L"\t" + Field(view.description) +
              L"\t" + view.test + L"\n");
    for (const auto& input : view.inputs) {
      std::wstring buttons, items;
      for (const auto& b : input.buttons) buttons += (buttons.empty() ? L"" : L"|") + b;
      for (const auto& i : input.items) items += (items.empty() ? L"" : L"|") + i;
      PrintWide(L"field\t" + id + L"\t" + std::to_wstring(input.slot) + L"\t" + Field(input.label) +
                L"\t" + Field(input.text) + L"\t" + buttons + L"\t" + items + L"\n");
    }
  }
  return 0;
}

// Runs each ".== title" block of the script on fresh variables (the publication's own kept)
// and prints what it left: the way the help shows its examples' results.
int BlocksCommand(NbHost& host, HWND publication, const std::string& script) {
  const std::list<std::pair<std::string, std::string>> initial = host.Variables();
  std::vector<std::pair<std::string, std::string>> blocks;
  size_t start = 0;
  while (start < script.size()) {
    size_t end = script.find('\n', start);
    if (end == std::string::npos) end = script.size();
    std::string line = script.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.rfind(".==", 0) == 0)
      blocks.emplace_back(line.substr(line.find_first_not_of(" ", 3) == std::string::npos
                                          ? line.size()
                                          : line.find_first_not_of(" ", 3)),
                          "");
    else if (!blocks.empty())
      blocks.back().second += line + "\r\n";
    start = end + 1;
  }
  for (const auto& [title, text] : blocks) {
    // Each block starts as a click on a button of the publication would: in its window.
    if (publication) {
      SetForegroundWindow(publication);
      NbHost::PumpMessages();
    }
    host.ClearVariables("");
    for (const auto& [name, value] : initial) host.SetVar(name, value);
    host.falseAnswers.clear();
    host.scriptErrors.clear();
    std::string error;
    const bool ran = host.RunScript(text, &error);
    Print("== " + title + "\n");
    for (const auto& answer : host.falseAnswers) Print("! " + answer + "\n");
    for (const auto& failed : host.scriptErrors) Print("! script from plug-in: " + failed + "\n");
    if (!ran) Print("! " + error + "\n");
    for (const auto& variable : host.Variables())
      if (std::find(initial.begin(), initial.end(), variable) == initial.end())
        Print(variable.first + "=" + Field(variable.second) + "\n");
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::string plugin = NbHost::DefaultPluginPath(), script;
  std::string version = "5.8.7";
  bool catalogue = false, catalogueTsv = false, forms = false, blocks = false, strict = false,
       cancel = false, memory = false;
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
    else if (arg == "--catalogue-tsv")
      catalogueTsv = true;
    else if (arg == "--forms")
      forms = true;
    else if (arg == "--blocks")
      blocks = true;
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
  if (!catalogue && !catalogueTsv && !forms && script.empty()) return Usage();
  try {
    if (forms) return FormsCommand(plugin);
    NbHost host(plugin);
    host.versionText = version;
    host.echoMessages = true;
    host.strict = strict;
    host.recordSetCalls = false;
    if (catalogue) {
      Print(host.title + " (" + host.publisher + "): " + host.hint + "\n");
      for (const auto& entry : host.Catalogue()) {
        const std::string kinds = KindsText(entry);
        if (entry.id == 0)
          Print("\n[" + entry.name + "]\n");
        else
          Print(std::to_string(entry.id) + "\t" + entry.name + "\t" +
                (kinds.empty() ? "-" : kinds) + "\t" + Visible(entry.hint) + "\n");
      }
      return 0;
    }
    if (catalogueTsv) {
      std::string category;
      for (const auto& entry : host.Catalogue()) {
        const std::string kinds = KindsText(entry);
        if (entry.id == 0)
          category = entry.name;
        else
          Print(std::to_string(entry.id) + "\t" + entry.name + "\t" + category + "\t" + kinds +
                "\t" + Field(entry.hint) + "\n");
      }
      return 0;
    }
    const HWND publicationWindow =
        publication.empty() ? nullptr : host.OpenPublication(publication);
    if (blocks) {
      host.echoMessages = false;
      return BlocksCommand(host, publicationWindow, ReadScript(script));
    }
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
