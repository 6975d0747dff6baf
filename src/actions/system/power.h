// The privilege step shared by the actions that end the session or put the machine to sleep.
#pragma once

inline constexpr char kShutdownPrivilege[] = "SeShutdownPrivilege";

// Enables (or disables) privilege `name` in the token of the host process. True exactly when
// the thread's last error is 0 afterwards: AdjustTokenPrivileges succeeds for a privilege the
// user does not hold and leaves ERROR_NOT_ALL_ASSIGNED, which counts as failure. On systems
// outside the NT family there are no privileges and the answer is true.
bool SetProcessPrivilege(const char* name, bool enable);
