// The privilege step shared by the actions that end the session or put the machine to sleep,
// and the options of the actions that end it.
#pragma once

#include <span>
#include <string_view>

inline constexpr char kShutdownPrivilege[] = "SeShutdownPrivilege";

// Enables (or disables) privilege `name` in the token of the host process. True exactly when
// the thread's last error is 0 afterwards: AdjustTokenPrivileges succeeds for a privilege the
// user does not hold and leaves ERROR_NOT_ALL_ASSIGNED, which counts as failure.
bool SetProcessPrivilege(const char* name, bool enable);

// "EWX_FORCE", "EWX_NOFORCE", "EWX_FORCEIFHUNG": the options kxLogOff ... kxShutdown take, in
// the order the property forms offer them.
std::span<const std::string_view> SessionEndOptions();
