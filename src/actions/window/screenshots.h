#pragma once

#include <windows.h>

#include <string_view>

// Copies what the screen shows over the window's whole rectangle (title bar and borders
// included) into a BMP file at the display's colour depth, whatever the file's extension;
// an existing file is replaced. Returns ERROR_SUCCESS, or the system error code that tells
// why nothing was written.
DWORD CaptureWindowToFile(HWND window, std::string_view path);
