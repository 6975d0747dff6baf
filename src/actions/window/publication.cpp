// The publication's window, its taskbar button and any window's title bar. NeoBook's
// run-time windows are found by class and by the publication's title, read from the host
// each time: the publication window "TWorkform", and the application window "TApplication"
// that owns the taskbar button.
#include <optional>
#include <string>

#include "actions/actions.h"
#include "actions/window/window_handle.h"
#include "core/failures.h"
#include "core/host_io.h"

namespace {

constexpr char kPublicationClass[] = "TWorkform";
constexpr char kApplicationClass[] = "TApplication";

// An empty title names no publication: FindWindowA would take it as "a window with no
// text" and could pick a stranger's window.
void ShowHostWindow(const char* className, int command) {
  const std::string title = GetHostVariable("PubTitle");
  if (title.empty()) return;
  if (const HWND window = FindWindowA(className, title.c_str())) ShowWindow(window, command);
}

// The style word is 32 bits; only the title bar and its border (WS_CAPTION) change.
bool ChangeCaption(const ActionCall& call, bool show) {
  const std::string variable = call.Param(1);
  const std::optional<HWND> window = ParseWindowHandle(call.Param(0));
  if (!window) return ReportInvalidArguments(call);
  const auto style = static_cast<DWORD>(GetWindowLongPtrA(*window, GWL_STYLE));
  const DWORD changed = show ? style | WS_CAPTION : style & ~static_cast<DWORD>(WS_CAPTION);
  // The previous style comes back, and that can be 0: only the last error tells a failure.
  SetLastError(ERROR_SUCCESS);
  if (SetWindowLongPtrA(*window, GWL_STYLE, static_cast<LONG_PTR>(static_cast<LONG>(changed))) ==
      0) {
    const DWORD error = GetLastError();
    if (error != ERROR_SUCCESS) return ReportSystemError(variable, error);
  }
  // No SWP_NOZORDER: the window also comes to the top of its peers, as authors know it to.
  SetWindowPos(*window, HWND_TOP, 0, 0, 0, 0,
               SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_FRAMECHANGED | SWP_NOOWNERZORDER);
  SetResultVariable(variable, kTrue);
  return true;
}

}  // namespace

// kxHidePublication: the publication window first, then the application window (and with it
// the taskbar button). A window that is not there is skipped; the action always succeeds.
bool RunHidePublication(const ActionCall&) {
  ShowHostWindow(kPublicationClass, SW_HIDE);
  ShowHostWindow(kApplicationClass, SW_HIDE);
  return true;
}

// kxShowPublication: as kxHidePublication in the same order; a minimised or maximised
// window comes back in its normal placement.
bool RunShowPublication(const ActionCall&) {
  ShowHostWindow(kPublicationClass, SW_RESTORE);
  ShowHostWindow(kApplicationClass, SW_RESTORE);
  return true;
}

// kxHideFromTaskbar: hiding the application window takes the button away while the
// publication window stays on screen and usable.
bool RunHideFromTaskbar(const ActionCall&) {
  ShowHostWindow(kApplicationClass, SW_HIDE);
  return true;
}

bool RunShowOnTaskbar(const ActionCall&) {
  ShowHostWindow(kApplicationClass, SW_RESTORE);
  return true;
}

// kxHideAppCaption: "True", or "False" with the reason (invalid arguments for a handle text
// that is not a number, the system's text for a handle that names no window).
bool RunHideAppCaption(const ActionCall& call) { return ChangeCaption(call, false); }

bool RunShowAppCaption(const ActionCall& call) { return ChangeCaption(call, true); }
