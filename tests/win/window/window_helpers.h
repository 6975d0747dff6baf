// Windows of the tests' own and a reader for the BMP files the screenshots write.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "host.h"

inline std::string HandleText(HWND window) {
  return std::to_string(reinterpret_cast<INT_PTR>(window));
}

inline std::uint32_t StyleOf(HWND window) {
  return static_cast<std::uint32_t>(GetWindowLongPtrA(window, GWL_STYLE));
}

// A topmost popup without border, its client area painted in four quadrants: red top left,
// green top right, blue bottom left, white bottom right. Shown and painted when built.
class PaintedWindow {
 public:
  PaintedWindow(int x, int y, int width, int height);
  ~PaintedWindow();
  PaintedWindow(const PaintedWindow&) = delete;
  PaintedWindow& operator=(const PaintedWindow&) = delete;
  HWND get() const { return window_; }

 private:
  HWND window_ = nullptr;
};

// GDI objects this process holds: GetGuiResources where the system counts them. Wine answers
// 0 there, so its handle table, reachable from the process environment block as on Windows,
// is counted instead (that table is the process's own under Wine). -1 when neither works.
int GdiObjectCount();

// A window handle that named a window once and names none now.
HWND ClosedWindowHandle();

struct Bmp {
  bool ok = false;  // headers read and the file as long as they say
  std::uint32_t fileSize = 0, pixelOffset = 0, infoSize = 0, compression = 0;
  std::int32_t width = 0, height = 0;
  std::uint16_t bits = 0;
  std::string bytes;
  // 0xRRGGBB of the pixel at (x, y) counted from the top left; 24 and 32 bits only.
  std::uint32_t Pixel(int x, int y) const;
};

Bmp ReadBmp(const std::string& path);
