// The monitor's power state and the mouse cursor. The monitor request goes through Seams() so
// that no test darkens the screen.
#include <windows.h>

#include <string>

#include "actions/actions.h"
#include "core/failures.h"
#include "core/host_io.h"
#include "platform/seams.h"

namespace {
constexpr LPARAM kMonitorOff = 2;
constexpr LPARAM kMonitorOn = -1;

// The active window's default handling passes the request to the system and answers 0. With
// no active window on the host thread the message would go nowhere (SendMessage also answers 0
// then), so that case is "False" rather than a success that did nothing.
bool RequestMonitorPower(const ActionCall& call, LPARAM state) {
  const HWND window = GetActiveWindow();
  const bool handled =
      window && Seams().sendMessage(window, WM_SYSCOMMAND, SC_MONITORPOWER, state) == 0;
  SetResultVariable(call.Param(0), TruthText(handled));
  return true;
}
}  // namespace

// kxMonitorOff: the screen stays dark until the user moves the mouse or presses a key.
bool RunMonitorOff(const ActionCall& call) { return RequestMonitorPower(call, kMonitorOff); }
bool RunMonitorOn(const ActionCall& call) { return RequestMonitorPower(call, kMonitorOn); }

// The cursor is Windows' per-thread display counter: as many shows as hides bring it back,
// so no count of our own is kept.
bool RunHideCursor(const ActionCall&) {
  ShowCursor(FALSE);
  return true;
}
bool RunShowCursor(const ActionCall&) {
  ShowCursor(TRUE);
  return true;
}
