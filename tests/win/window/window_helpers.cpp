#include "window_helpers.h"

#include <winternl.h>

#include "fixture.h"

namespace {

LRESULT CALLBACK PaintQuadrants(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_PAINT) return DefWindowProcA(window, message, wParam, lParam);
  PAINTSTRUCT paint;
  const HDC dc = BeginPaint(window, &paint);
  RECT client;
  GetClientRect(window, &client);
  const int midX = client.right / 2, midY = client.bottom / 2;
  const struct {
    RECT rect;
    COLORREF colour;
  } parts[] = {{{0, 0, midX, midY}, RGB(255, 0, 0)},
               {{midX, 0, client.right, midY}, RGB(0, 255, 0)},
               {{0, midY, midX, client.bottom}, RGB(0, 0, 255)},
               {{midX, midY, client.right, client.bottom}, RGB(255, 255, 255)}};
  for (const auto& part : parts) {
    const HBRUSH brush = CreateSolidBrush(part.colour);
    FillRect(dc, &part.rect, brush);
    DeleteObject(brush);
  }
  EndPaint(window, &paint);
  return 0;
}

std::uint32_t Little(const std::string& bytes, std::size_t at, int size) {
  std::uint32_t value = 0;
  for (int i = size - 1; i >= 0; --i)
    value = value << 8 | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
  return value;
}

// One row of the GDI handle table; a free row has type 0.
struct GdiTableEntry {
  std::uint64_t object;
  std::uint32_t owner;
  std::uint16_t unique;
  std::uint8_t type, flags;
  std::uint64_t user;
};
static_assert(sizeof(GdiTableEntry) == 24);
constexpr int kGdiTableRows = 0x10000;

}  // namespace

int GdiObjectCount() {
  const DWORD counted = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  if (counted != 0) return static_cast<int>(counted);
  const char* peb = reinterpret_cast<const char*>(NtCurrentTeb()->ProcessEnvironmentBlock);
  const auto* table = *reinterpret_cast<const GdiTableEntry* const*>(
      peb + (sizeof(void*) == 8 ? 0xF8 : 0x94));  // GdiSharedHandleTable
  if (!table) return -1;
  int count = 0;
  for (int row = 0; row < kGdiTableRows; ++row) count += table[row].type != 0;
  return count;
}

PaintedWindow::PaintedWindow(int x, int y, int width, int height) {
  static const ATOM atom = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = PaintQuadrants;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "ZadodeTestPainted";
    return RegisterClassA(&wc);
  }();
  window_ = CreateWindowExA(WS_EX_TOPMOST, MAKEINTATOM(atom), "painted", WS_POPUP, x, y, width,
                            height, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  ShowWindow(window_, SW_SHOWNORMAL);
  UpdateWindow(window_);
  // The X server shows the window only after a round trip or two.
  for (int i = 0; i < 20; ++i) {
    NbHost::PumpMessages();
    Sleep(10);
  }
}

PaintedWindow::~PaintedWindow() {
  if (window_) DestroyWindow(window_);
}

HWND ClosedWindowHandle() {
  const HWND window = CreateWindowExA(0, "STATIC", "gone", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                      GetModuleHandleA(nullptr), nullptr);
  DestroyWindow(window);
  return window;
}

std::uint32_t Bmp::Pixel(int x, int y) const {
  const std::size_t stride = (static_cast<std::size_t>(width) * bits + 31) / 32 * 4;
  const std::size_t row = static_cast<std::size_t>(height - 1 - y);  // bottom row first
  const std::size_t at = pixelOffset + row * stride + static_cast<std::size_t>(x) * (bits / 8);
  return Little(bytes, at, 3);
}

Bmp ReadBmp(const std::string& path) {
  Bmp bmp;
  bmp.bytes = ReadFileBytes(path);
  if (bmp.bytes.size() < 54 || bmp.bytes.compare(0, 2, "BM") != 0) return bmp;
  bmp.fileSize = Little(bmp.bytes, 2, 4);
  bmp.pixelOffset = Little(bmp.bytes, 10, 4);
  bmp.infoSize = Little(bmp.bytes, 14, 4);
  bmp.width = static_cast<std::int32_t>(Little(bmp.bytes, 18, 4));
  bmp.height = static_cast<std::int32_t>(Little(bmp.bytes, 22, 4));
  bmp.bits = static_cast<std::uint16_t>(Little(bmp.bytes, 28, 2));
  bmp.compression = Little(bmp.bytes, 30, 4);
  const std::size_t stride = (static_cast<std::size_t>(bmp.width) * bmp.bits + 31) / 32 * 4;
  bmp.ok = bmp.fileSize == bmp.bytes.size() && bmp.width > 0 && bmp.height > 0 &&
           bmp.pixelOffset + stride * static_cast<std::size_t>(bmp.height) == bmp.fileSize;
  return bmp;
}
