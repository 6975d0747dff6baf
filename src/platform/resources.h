#pragma once

#include <windows.h>

#include <initializer_list>
#include <string>
#include <string_view>

HMODULE PluginModule();

// A string-table entry in the system's ANSI code page (CP1251 bytes on a Russian system).
std::string LoadResString(UINT id);

// A string-table format with each "%s" filled, in order, by plain concatenation.
std::string FormatResString(UINT id, std::initializer_list<std::string_view> args);
