#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

// Copies what the screen shows over the window's whole rectangle (title bar and borders
// included) into a BMP file at the display's colour depth, whatever the file's extension;
// an existing file is replaced. Nothing when it succeeded; otherwise the text LastError gets:
// the system's words for a window or drawing failure, the file layer's for the file.
std::optional<std::string> CaptureWindowToFile(HWND window, std::string_view path);
