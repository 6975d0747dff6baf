// How every action talks to the host: result and indexed variables, the host's own variables,
// script text, and the interface requests (version, messages, pickers).
#pragma once

#include <string>
#include <string_view>

inline constexpr std::string_view kTrue = "True";
inline constexpr std::string_view kFalse = "False";
inline std::string_view TruthText(bool value) { return value ? kTrue : kFalse; }

// Writes `value` into the host variable `name` exactly as passed (brackets and blanks kept);
// a blank name discards the result.
void SetResultVariable(std::string_view name, std::string_view value);
// The same for a result of many megabytes, zero-terminated: handed over without a copy.
void SetLargeResultVariable(std::string_view name, const char* value);
// name followed directly by the index in decimal: Arr0, Arr12 ...
void SetIndexedVariable(int index, std::string_view name, std::string_view value);
// The host's value of `name`; empty when the host has none.
std::string GetHostVariable(std::string_view name);
void PlayScript(std::string_view script);
// Makes the host forget `name` (an empty name: every variable).
void ClearHostVariable(std::string_view name);
std::string HostVersionText();
void ShowHostMessage(std::string_view message);
// kind: 0 action editor, 1 insert variable, 2 unused, 3 and 4 object lists, 5 colour.
std::string OpenHostPicker(int kind, std::string_view current);
