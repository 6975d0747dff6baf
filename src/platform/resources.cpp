#include "platform/resources.h"

#include "platform/buffers.h"
#include "pure/text.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

HMODULE PluginModule() { return reinterpret_cast<HMODULE>(&__ImageBase); }

Edition TextEdition() {
  static const Edition edition = GetACP() == 1251 ? Edition::Russian : Edition::English;
  return edition;
}

namespace {

// The language each edition's string table is filed under (LANGUAGE in its .rc).
LANGID EditionLanguage(Edition edition) {
  return edition == Edition::Russian ? MAKELANGID(LANG_RUSSIAN, SUBLANG_DEFAULT)
                                     : MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
}

}  // namespace

std::wstring LoadResWide(UINT id) {
  // A string resource is a block of 16 counted UTF-16 texts, block n holding ids 16(n-1) to
  // 16n-1. LoadString would take the block in the thread's user-interface language; the
  // edition's language is asked for by name, and a table without the entry gives no text.
  const HMODULE module = PluginModule();
  const HRSRC found = FindResourceExA(module, RT_STRING, MAKEINTRESOURCEA((LOWORD(id) >> 4) + 1),
                                      EditionLanguage(TextEdition()));
  const HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
  const auto* text = loaded ? static_cast<const WCHAR*>(LockResource(loaded)) : nullptr;
  if (!text) return {};
  const WCHAR* const end = text + SizeofResource(module, found) / sizeof(WCHAR);
  for (UINT skip = id & 15; skip > 0; --skip) {
    if (text >= end) return {};
    text += 1 + *text;
  }
  if (text >= end || *text > end - text - 1) return {};
  return std::wstring(text + 1, *text);
}

std::string LoadResString(UINT id) { return WideToAnsi(LoadResWide(id)); }

std::string FormatResString(UINT id, std::initializer_list<std::string_view> args) {
  return FillPercentS(LoadResString(id), args);
}
