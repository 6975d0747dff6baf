// What keeps the fuzz driver from changing the machine, and what it counts.
//
// The plug-in's code is linked into the driver, so every Windows call it makes goes through
// the driver's own import table. The guards replace the entries of the calls that change the
// machine, wait for a person or write files, once, before anything runs: a machine-changing
// call that is not routed through Seams() lands in a harmless stand-in and is reported; a file
// opened for writing outside the sandbox, or a device opened for writing, is refused and
// reported. Names looked up with GetProcAddress (powrprof, hhctrl.ocx) get the stand-ins too.
// Seams() itself is filled with stand-ins that answer like the real calls would.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

namespace fuzz {

// Where reports of the guards go; the driver attaches the current call to them.
using FindingSink = std::function<void(const std::string& what)>;

struct GuardOptions {
  std::string writableRoot;  // full path, ending in "\"; writes elsewhere are refused
  std::uint64_t seed = 0;    // for the stand-ins' answers
  FindingSink report;
};

// Patches the import table and fills Seams(). Call once, before the first action runs.
void InstallGuards(const GuardOptions& options);

// While false (the driver's own setup), file writes are not checked.
void SetCallInProgress(bool inProgress, bool dialogsAllowed);

// A hidden window of the driver's own, handed out as a "real" window where one is needed.
HWND DriverWindow();

// Starts the thread that closes any window the process shows that is not the driver's own.
void StartWindowWatcher();
// Windows closed by the watcher since the last call of this function.
int TakeClosedWindows(std::string* classes);

// Outstanding GlobalAlloc blocks of the program (plug-in and host alike).
long long OutstandingGlobalBlocks();

struct ResourceCounts {
  long long globalBlocks = 0;
  DWORD handles = 0;                      // GetProcessHandleCount
  DWORD gdiObjects = 0, userObjects = 0;  // GetGuiResources (0 under Wine)
  // Created by the program through its imports and not yet released (DCs, bitmaps, fonts,
  // icons, menus, windows): what Wine lets us see.
  long long trackedGdi = 0, trackedUser = 0;
  unsigned long long privateBytes = 0;
  // What the program's heaps hold in live blocks and what they keep from the system: a leak
  // grows the first, the high-water mark of freed blocks only the second.
  unsigned long long heapBusy = 0, heapFree = 0, heapCommitted = 0;
  long long mallocBytes = 0;  // held through the program's malloc, realloc and calloc
  std::string ToString() const;
};
ResourceCounts CountResources();
unsigned long long PrivateBytes();
long long MallocBytes();

}  // namespace fuzz
