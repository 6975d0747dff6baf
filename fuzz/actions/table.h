// How the fuzz driver may run each action of the catalogue. An action without a row fails the
// driver, so an action cannot be fuzzed (or skipped) without someone deciding how it is kept
// from changing the machine.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/catalogue.h"

namespace fuzz {

enum class Class {
  kPure,             // texts and host variables only
  kHostScript,       // hands script text to the host; the driver's host runs only harmless lines
  kReadsFiles,       // reads or queries paths, any path; writes nothing
  kWritesSandbox,    // writes or removes files: its path slots are rooted in the sandbox
  kQueriesSystem,    // asks Windows about the machine, changes nothing
  kThreadState,      // cursor counter, execution state: the calling thread's own
  kOwnWindows,       // changes windows: only the driver's own or none are named
  kMachineSeam,      // log-off, power, monitor, kill: through Seams() and the import guards
  kDialogSeam,       // common dialogs and help through Seams() (stand-ins answer)
  kDialogWatcher,    // a dialog of Windows' own, answered by an import stand-in, watcher behind
  kNetworkLoopback,  // ICMP: the host slot is rewritten to loopback or a name that fails locally
};

// What a parameter slot holds, beyond its catalogue kind; decides the generator.
enum class Slot : char {
  kText = 't',         // any text
  kNumber = 'n',       // integer grammar boundaries, and any text
  kVariable = 'v',     // a result variable name
  kNames = 'l',        // variable-name lists ("," "|" "*")
  kReadPath = 'r',     // any path: devices, UNC shapes, too long, relative ...
  kWritePath = 'w',    // rooted in the sandbox, device names and bad shapes included
  kWriteFolder = 'f',  // a folder in the sandbox (shortcuts)
  kFileName = 'm',     // a bare file name: no separator, so it stays in its folder
  kPathList = 'p',     // "|"-separated sandbox paths
  kHost = 'h',         // loopback addresses and names that fail locally
  kProgram = 'k',      // names of no running process
  kWindow = 'W',       // the driver's own window, none, or numbers naming no window
  kDate = 'd',         // date texts in the short date format, and any text
  kKeywords = 'K',     // option keywords of the action, and any text
  kScript = 's',       // host script lines
};

using Params = std::vector<std::optional<std::string>>;

struct ActionClass {
  RunRoutine run;  // the action, by its catalogue row's run routine
  Class kind;
  std::string_view slots;  // one Slot per catalogue parameter
  // False: the action may return false without writing LastError (its Part says so).
  bool reportsEveryFailure = true;
  // Seconds the call may take beyond the one-second rule for these parameters, because the
  // author asked for that much work or waiting (wipe cycles, a ping's time-out); null: none.
  double (*extraSeconds)(const Params& params) = nullptr;
};

// The row of the catalogue row's action, or null (which fails the driver).
const ActionClass* FindClass(const CatalogueRow& row);
std::string_view ClassName(Class kind);

}  // namespace fuzz
