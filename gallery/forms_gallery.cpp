// Renders every property form to <dir>/<id>-<name>.png, and the about box to <dir>/about.png, so
// the layout can be looked at (tools/forms-gallery.sh runs it under Xvfb). Not a test: it checks
// nothing by itself.
#include <windows.h>
// windows.h first, then the COM property types that GDI+ uses (left out by lean headers).
#include <objidl.h>
// Only then GDI+.
#include <gdiplus.h>

#include <array>
#include <atomic>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "editor/form_catalogue.h"
#include "inprocess.h"

namespace {

// The visible dialog among a thread's top-level windows (EnumThreadWindows callback).
BOOL CALLBACK FindVisibleDialog(HWND window, LPARAM out) {
  wchar_t cls[16] = {};
  GetClassNameW(window, cls, 16);
  if (lstrcmpW(cls, L"#32770") != 0 || !IsWindowVisible(window)) return TRUE;
  *reinterpret_cast<HWND*>(out) = window;
  return FALSE;
}

HWND WaitForForm(DWORD thread) {
  for (int i = 0; i < 500; ++i) {
    HWND found = nullptr;
    EnumThreadWindows(thread, &FindVisibleDialog, reinterpret_cast<LPARAM>(&found));
    if (found) return found;
    Sleep(20);
  }
  return nullptr;
}

bool SavePng(HWND window, const std::wstring& path) {
  RECT box{};
  GetWindowRect(window, &box);
  const int width = box.right - box.left, height = box.bottom - box.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, box.left, box.top, SRCCOPY);
  SelectObject(memory, old);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  Gdiplus::GpBitmap* image = nullptr;
  bool saved = false;
  if (Gdiplus::DllExports::GdipCreateBitmapFromHBITMAP(bitmap, nullptr, &image) == Gdiplus::Ok) {
    // The PNG encoder's class id.
    const CLSID png = {
        0x557cf406, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
    saved =
        Gdiplus::DllExports::GdipSaveImageToFile(image, path.c_str(), &png, nullptr) == Gdiplus::Ok;
    Gdiplus::DllExports::GdipDisposeImage(image);
  }
  DeleteObject(bitmap);
  return saved;
}

// Runs `show` (which returns when its window closes) while a second thread waits for the
// window, saves it to `file` and cancels it.
template <typename Show>
bool Capture(DWORD thread, const std::string& file, Show show) {
  std::atomic<bool> saved{false};
  std::thread watcher([&] {
    HWND form = WaitForForm(thread);
    if (!form) return;
    Sleep(400);  // let it paint
    wchar_t wide[MAX_PATH] = {};
    MultiByteToWideChar(CP_ACP, 0, file.c_str(), -1, wide, MAX_PATH);
    saved = SavePng(form, wide);
    PostMessageW(form, WM_COMMAND, IDCANCEL, 0);
  });
  show();
  watcher.join();
  return saved;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string dir = argc > 1 ? argv[1] : "forms";
  CreateDirectoryA(dir.c_str(), nullptr);
  Gdiplus::GdiplusStartupInput startup;
  ULONG_PTR token = 0;
  Gdiplus::GdiplusStartup(&token, &startup, nullptr);
  NbHost host(InProcessExports());
  std::array<int, 96> ids{};
  const int count = FormIds(ids);
  const DWORD thread = GetCurrentThreadId();
  int failures = 0;
  for (int n = 0; n < count; ++n) {
    const int id = ids[n];
    std::string name;
    for (const auto& entry : host.Catalogue())
      if (entry.id == id) name = entry.name;
    std::vector<std::string> texts{"Пример текста", "[Переменная]", "3", "[Result]"};
    std::vector<char*> slots(8, nullptr);
    for (size_t i = 0; i + 1 < texts.size(); ++i) {
      // Sample texts in the ANSI code page, allocated as the host allocates slots.
      wchar_t wide[64] = {};
      MultiByteToWideChar(CP_UTF8, 0, texts[i].c_str(), -1, wide, 64);
      char ansi[128] = {};
      WideCharToMultiByte(CP_ACP, 0, wide, -1, ansi, sizeof ansi, nullptr, nullptr);
      slots[i] = static_cast<char*>(GlobalAlloc(GMEM_FIXED, sizeof ansi));
      lstrcpyA(slots[i], ansi);
    }
    const std::string file = dir + "\\" + std::to_string(id) + "-" + name + ".png";
    const bool saved = Capture(thread, file, [&] { host.Edit(id, slots); });
    for (char* slot : slots)
      if (slot) GlobalFree(slot);
    std::printf("%s %d %s\n", saved ? "saved" : "FAILED", id, name.c_str());
    if (!saved) ++failures;
  }
  // The about box, as nbAbout shows it.
  const bool about = Capture(thread, dir + "\\about.png", [] { nbAbout(); });
  std::printf("%s about\n", about ? "saved" : "FAILED");
  if (!about) ++failures;
  Gdiplus::GdiplusShutdown(token);
  return failures ? 1 : 0;
}
