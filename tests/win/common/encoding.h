#pragma once

#include <windows.h>

#include <string>

// Texts in the tests are UTF-8; the plug-in speaks an ANSI code page.
inline std::string Utf8To(UINT codePage, const std::string& utf8) {
  const int wide =
      MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring text(static_cast<size_t>(wide), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), text.data(), wide);
  const int bytes =
      WideCharToMultiByte(codePage, 0, text.data(), wide, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(codePage, 0, text.data(), wide, out.data(), bytes, nullptr, nullptr);
  return out;
}
inline std::string Cp1251(const std::string& utf8) { return Utf8To(1251, utf8); }
inline std::string Ansi(const std::string& utf8) { return Utf8To(CP_ACP, utf8); }
