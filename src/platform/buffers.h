// Helpers for Windows calls that fill a caller's buffer.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

// Calls one of the APIs that answer the size they need, terminating zero included, when the
// buffer is too small (GetLongPathNameA, GetFullPathNameW ...), until the whole text fits.
// The answer can change between two calls, so the retries are bounded. Null when the call
// fails; GetLastError tells why. `Char` is wchar_t for the wide APIs.
template <typename Char = char, typename Fill>
std::optional<std::basic_string<Char>> CallWithGrowingBuffer(Fill fill) {
  std::basic_string<Char> buffer(MAX_PATH + 1, Char());
  for (int attempt = 0; attempt < 8; ++attempt) {
    const DWORD length = fill(buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return std::nullopt;
    if (length < buffer.size()) {
      buffer.resize(length);
      return buffer;
    }
    buffer.resize(length);
  }
  SetLastError(ERROR_INSUFFICIENT_BUFFER);
  return std::nullopt;
}

// The host speaks the ANSI code page; shell and automation interfaces speak UTF-16.
std::wstring AnsiToWide(std::string_view text);
std::string WideToAnsi(std::wstring_view text);
