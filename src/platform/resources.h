#pragma once

#include <windows.h>

#include <initializer_list>
#include <string>
#include <string_view>

HMODULE PluginModule();

// The plug-in's two editions, one string table each under the same ids. Every text reaches
// NeoBook through the system's ANSI code page, so the code page chooses, not the language of
// the user interface: Russian where it is 1251 (Cyrillic survives the trip), English on every
// other code page, where Cyrillic would arrive as "?". Chosen once, at the first text.
enum class Edition { Russian, English };
Edition TextEdition();

// A string-table entry of the edition as UTF-16; empty when the table has no such entry.
std::wstring LoadResWide(UINT id);
// The same entry in the system's ANSI code page, converted as LoadStringA converts (so CP1251
// bytes on a Russian system).
std::string LoadResString(UINT id);

// A string-table format with each "%s" filled, in order, by plain concatenation.
std::string FormatResString(UINT id, std::initializer_list<std::string_view> args);
