// nbhost: a headless stand-in for NeoBook that loads a .nbp, keeps the host's side of the
// plug-in contract (variables, script text, interface requests) and records what the
// plug-in did, for the end-to-end tests, the benchmarks and the command line.
#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <list>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "core/abi.h"

// One line of a script, with its number for the messages.
struct ScriptLine {
  std::string text;
  int number = 0;
};

struct CatalogueEntry {
  int id = 0;
  std::string name;
  std::string hint;
  std::vector<unsigned char> kinds;  // as registered (the placeholder byte for none)
  int highIndex = 0;
  int count = 0;
};

// The eight entry points, as found in a loaded .nbp or linked into the test program.
struct PluginExports {
  FARPROC init = nullptr, registerPlugIn = nullptr, registerScriptProcessor = nullptr,
          registerInterfaceAccess = nullptr, exec = nullptr, edit = nullptr, message = nullptr,
          about = nullptr;
};

// Top-level windows the host opened for a publication; destroyed with the host.
class HostWindows {
 public:
  HostWindows() = default;
  HostWindows(const HostWindows&) = delete;
  HostWindows& operator=(const HostWindows&) = delete;
  ~HostWindows();
  void Add(HWND window) { windows_.push_back(window); }

 private:
  std::vector<HWND> windows_;
};

class NbHost {
 public:
  // Loads the plug-in and runs the start-up sequence: nbInitPlugIn, nbRegisterPlugIn,
  // nbRegisterScriptProcessor, nbRegisterInterfaceAccess. Throws std::runtime_error when the
  // library or one of its exports is missing. `registerInterface` false leaves the interface
  // callback unregistered.
  explicit NbHost(const std::string& pluginPath, bool registerInterface = true);
  // Drives entry points that are already in the process (the plug-in's code linked into a
  // test program), so tests can call its internal operations against this host.
  explicit NbHost(const PluginExports& exports, bool registerInterface = true);
  ~NbHost();
  NbHost(const NbHost&) = delete;
  NbHost& operator=(const NbHost&) = delete;

  // The plug-in at build/<preset>/zaDode.nbp beside the running program.
  static std::string DefaultPluginPath();

  // Exports, raw.
  FARPROC Export(const char* name) const;
  bool Exec(int id, const std::vector<std::string>& params);
  bool Exec(int id, const std::vector<const char*>& params);  // null pointers allowed
  bool Exec(const std::string& actionName, const std::vector<std::string>& params);
  bool Edit(int id, std::vector<char*>& slots);
  void Init(char** title, char** publisher, char** hint);

  // Host variables: names compare without regard to case, [brackets] are accepted.
  std::optional<std::string> Var(const std::string& name) const;
  std::string Value(const std::string& name) const { return Var(name).value_or(""); }
  void SetVar(const std::string& name, std::string value);
  void ClearVariables(const std::string& name);  // empty: all
  bool SaveVariables(const std::string& path) const;
  const std::list<std::pair<std::string, std::string>>& Variables() const { return vars_; }
  // The headings (".==" comment lines of a script run) met since the variable before `name`
  // was first set, for a listing in sections; empty for most names.
  const std::vector<std::string>& HeadingsBefore(const std::string& name) const;

  // Runs script text (lines split at CR, LF or CR LF). Returns false and sets `error` to
  // "line N: ..." at the first line it cannot run. As NeoBook does, it expands [Var] and [#NN]
  // (inner ones first: [Drive[i]]) in every parameter except those that name variables:
  // SetVar's target, DefineVar's name, Loop's counter and the result variables of the
  // plug-in's actions. Loop "from" "to" "[Counter]" ... EndLoop counts up by one; If "a" "op"
  // "b" ... Else ... EndIf compares whole numbers as numbers, other texts byte for byte, with
  // =, <>, <, >, <= or >=.
  bool RunScript(const std::string& text, std::string* error = nullptr);
  // Each action of a script run that answered false, as "line N: kxName answered false".
  std::vector<std::string> falseAnswers;
  // Ends a script run at the first false answer, with that text as the error.
  bool strict = false;

  // The three texts nbInitPlugIn handed over at start-up.
  std::string title, publisher, hint;

  const std::vector<CatalogueEntry>& Catalogue() const { return catalogue_; }
  const CatalogueEntry* FindEntry(const std::string& name) const;

  // What the plug-in did, in order.
  struct SetCall {
    std::string name, value;
  };
  std::vector<SetCall> setCalls;
  // Off, setCalls stays empty: the command line never reads it, and a copy of every value
  // doubles the memory a result of hundreds of megabytes takes in a 32-bit process.
  bool recordSetCalls = true;
  std::vector<std::string> getCalls;
  std::vector<std::string> scripts;   // ScriptProcessor texts
  std::vector<std::string> messages;  // request 9
  std::vector<int> requests;          // every InterfaceAccess request number
  std::vector<std::string> scriptErrors;
  // Time spent inside the host's callbacks (outermost calls only), so benchmarks can tell the
  // plug-in's own share from the host's.
  double callbackSeconds = 0;
  void ClearLogs();

  // How the host answers.
  std::optional<std::string> versionText = std::string("5.8.7");  // nullopt: request 6 leaves null
  bool getVariableReturnsNull = false;
  bool echoMessages = false;  // print request 9 texts on stdout (the command line does)
  // Scripted answers to the picker requests (1, 2, 8, 10, 13, 14): the front answer is
  // pointed to by the slot; nullopt leaves the slot as the plug-in set it.
  std::deque<std::optional<std::string>> pickerAnswers;
  std::vector<std::string> pickerTexts;  // the field texts the plug-in sent with pickers
  // Answers by request number once pickerAnswers is empty (the command line's pickers);
  // nullopt leaves the slot.
  std::function<std::optional<std::string>(int request, const std::string& text)> pickerHook;
  // Optional hook run for each ScriptProcessor text instead of the interpreter.
  std::function<void(const std::string&)> scriptHook;

 private:
  // NeoBook's callbacks, in its calling convention (core/abi.h).
  static void HOSTCALL AddActionCb ADD_ACTION_PARAMETERS(id, name, hint, kinds, highIndex, count);
  static void HOSTCALL GetVariableCb(const char* name, char** value);
  static void HOSTCALL SetVariableCb(const char* name, const char* value);
  static void HOSTCALL ScriptProcessorCb(const char* script);
  static HostBool HOSTCALL InterfaceAccessCb(int request, char** text);

  bool RunLine(const std::string& line, int number, std::string* error);
  bool RunLines(const std::vector<ScriptLine>& lines, size_t first, size_t last, int& number,
                std::string& error);
  std::string Expand(const std::string& text) const;
  std::string ExpandFrom(const std::string& text, size_t& at, bool inName) const;
  const std::string* Find(const std::string& name) const;
  static std::string Key(std::string name);

  void Start(bool registerInterface);

  friend class CallbackTimer;
  int callbackDepth_ = 0;
  HMODULE module_ = nullptr;
  PluginExports exports_;
  std::vector<CatalogueEntry> catalogue_;
  std::list<std::pair<std::string, std::string>> vars_;
  std::unordered_map<std::string, std::list<std::pair<std::string, std::string>>::iterator> index_;
  std::string pickerStorage_;
  std::vector<std::string> pendingHeadings_;
  std::unordered_map<std::string, std::vector<std::string>> headings_;

  // The publication's run-time windows, for the window and screenshot actions. NeoBook shows
  // a running publication in two top-level windows titled with the publication's title: the
  // application window, class "TApplication", which owns the taskbar button, and the
  // publication window, class "TWorkform", owned by it.
 public:
  // Opens both windows on screen, sets PubTitle to `title` and WinHandle to the publication
  // window's handle in decimal, as NeoBook does, and returns that handle.
  HWND OpenPublication(const std::string& title);
  HWND applicationWindow = nullptr;  // the "TApplication" window of OpenPublication
  // One more visible top-level window of either class, for look-alikes of the host's own.
  HWND OpenHostWindow(const char* className, const std::string& title, HWND owner = nullptr);
  // Handles the messages waiting for this thread, so windows have painted and settled.
  static void PumpMessages();

 private:
  HostWindows windows_;
};

// Removes one pair of surrounding square brackets, as NeoBook does for variable names.
std::string StripBrackets(const std::string& name);
