// The texts kxFileOperation and kxWipeFile take apart: shell operation and flag names, "|"
// path lists, and the repeated pattern a wipe pass writes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

// FO_MOVE 1, FO_COPY 2, FO_DELETE 3, FO_RENAME 4; exact bytes, case matters.
std::optional<unsigned> ShellOperationCode(std::string_view name);
// The operation and flag names in the order the property form lists them.
std::span<const std::string_view> ShellOperationNames();
std::span<const std::string_view> ShellOperationFlagNames();

// Every flag name found anywhere in `text` (case matters, any separator, any order), OR-ed.
// "FOF_NO_UI" is 0x614, the four flags that together keep the shell quiet.
std::uint16_t ShellOperationFlags(std::string_view text);

// The double-zero-terminated list the shell reads: each "|"-separated path followed by a zero
// byte and one more zero at the end; nullopt (no list at all) when the text is blank. Empty
// pieces are left out: the shell would read their zero as the end of the list and silently
// drop every path after them.
std::optional<std::string> ShellPathList(std::string_view text);

// Fills `out` (`size` bytes) with `pattern` repeated from the start, the last copy cut short.
void FillWithPattern(std::string_view pattern, char* out, std::size_t size);
