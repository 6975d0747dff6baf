// Screenshots: the foreground window, a window by its handle, or the whole primary display,
// saved as BMP files. All three copy what the screen shows over the window's rectangle, so
// windows lying on top appear in the picture.
#include "actions/window/screenshots.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "actions/actions.h"
#include "actions/window/window_handle.h"
#include "core/failures.h"
#include "core/host_io.h"
#include "platform/files.h"
#include "platform/raii.h"
#include "pure/bmp.h"

namespace {

inline void DeleteObjectFn(HGDIOBJ object) { DeleteObject(object); }
inline void DeleteDCFn(HDC dc) { DeleteDC(dc); }
using GdiObject = UniqueResource<HGDIOBJ, nullptr, DeleteObjectFn>;
using MemoryDC = UniqueResource<HDC, nullptr, DeleteDCFn>;

// Puts the DC's previous object back, so the bitmap can be read and deleted afterwards.
class Selection {
 public:
  Selection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  Selection(const Selection&) = delete;
  Selection& operator=(const Selection&) = delete;
  ~Selection() {
    if (*this) SelectObject(dc_, previous_);
  }
  explicit operator bool() const { return previous_ != nullptr && previous_ != HGDI_ERROR; }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// GDI calls do not always set a last error when they fail, and a successful call may leave an
// old one behind: every call whose failure is read starts from a clear code, and a failure
// that set none still gives the author a reason.
template <typename Call>
auto Fresh(Call call) {
  SetLastError(ERROR_SUCCESS);
  return call();
}
DWORD LastErrorOr(DWORD fallback) {
  const DWORD error = GetLastError();
  return error != ERROR_SUCCESS ? error : fallback;
}

// Rows are read out of the bitmap a band at a time, so a large screen never needs a second
// full-size copy of itself in memory.
constexpr std::uint32_t kBandBytes = 1 << 20;

// The bitmap as a BMP file: the file layer's failure, or the code of a drawing call that
// failed (`drawing`).
FileFailure WriteBitmapFile(HDC dc, HBITMAP bitmap, const BmpLayout& layout, std::string_view path,
                            DWORD& drawing) {
  struct {
    BITMAPINFOHEADER header;
    RGBQUAD colours[256];
  } info{};
  const BITMAPINFOHEADER wanted = {sizeof(BITMAPINFOHEADER),
                                   static_cast<LONG>(layout.width),
                                   static_cast<LONG>(layout.height),
                                   1,
                                   layout.bitsPerPixel,
                                   BI_RGB,
                                   0,
                                   0,
                                   0,
                                   0,
                                   0};
  const std::uint32_t bandRows =
      std::clamp<std::uint32_t>(kBandBytes / layout.rowStride, 1, layout.height);
  std::vector<char> band(static_cast<std::size_t>(bandRows) * layout.rowStride);

  drawing = ERROR_SUCCESS;
  return WriteFileContent(path, [&](ByteSink& file) {
    // Scan line 0 of a bottom-up picture is its bottom row, which is also the first in the file.
    for (std::uint32_t first = 0; first < layout.height; first += bandRows) {
      const std::uint32_t rows = std::min(bandRows, layout.height - first);
      info.header = wanted;
      if (Fresh([&] {
            return GetDIBits(dc, bitmap, first, rows, band.data(),
                             reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
          }) != static_cast<int>(rows)) {
        drawing = LastErrorOr(ERROR_NOT_ENOUGH_MEMORY);
        return false;
      }
      if (first == 0) {
        // The colour table of a palette display is known only once the first rows are read.
        const std::string headers = BmpHeaders(layout);
        if (!file.Put(headers.data(), headers.size()) ||
            !file.Put(info.colours, layout.paletteEntries * sizeof(RGBQUAD)))
          return false;
      }
      if (!file.Put(band.data(), static_cast<std::size_t>(rows) * layout.rowStride)) return false;
    }
    return true;
  });
}

// kxActiveShot, kxHandleShot and kxScreenShot end alike.
bool ReportCapture(std::string_view variable, const std::optional<std::string>& failure) {
  if (failure) return ReportFailure(variable, *failure);
  SetResultVariable(variable, kTrue);
  return true;
}

}  // namespace

std::optional<std::string> CaptureWindowToFile(HWND window, std::string_view path) {
  // A null window gives the screen's DC here; it still fails below, as it has no rectangle.
  const WindowDC windowDC(window, Fresh([&] { return GetWindowDC(window); }));
  if (!windowDC) return SystemErrorText(LastErrorOr(ERROR_INVALID_WINDOW_HANDLE));
  RECT rect{};
  if (!Fresh([&] { return GetWindowRect(window, &rect); }))
    return SystemErrorText(LastErrorOr(ERROR_INVALID_WINDOW_HANDLE));
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0)
    return SystemErrorText(ERROR_INVALID_PARAMETER);  // nothing to picture
  const int displayBits =
      GetDeviceCaps(windowDC.get(), BITSPIXEL) * GetDeviceCaps(windowDC.get(), PLANES);
  const std::optional<BmpLayout> layout = PlanBmp(width, height, BmpDepthForDisplay(displayBits));
  if (!layout) return SystemErrorText(ERROR_NOT_ENOUGH_MEMORY);  // beyond what a BMP file can hold

  const MemoryDC memoryDC(Fresh([&] { return CreateCompatibleDC(windowDC.get()); }));
  if (!memoryDC) return SystemErrorText(LastErrorOr(ERROR_NOT_ENOUGH_MEMORY));
  const GdiObject bitmap(
      Fresh([&] { return CreateCompatibleBitmap(windowDC.get(), width, height); }));
  if (!bitmap) return SystemErrorText(LastErrorOr(ERROR_NOT_ENOUGH_MEMORY));
  {
    SetLastError(ERROR_SUCCESS);
    const Selection selected(memoryDC.get(), bitmap.get());
    if (!selected) return SystemErrorText(LastErrorOr(ERROR_NOT_ENOUGH_MEMORY));
    if (!Fresh([&] {
          return BitBlt(memoryDC.get(), 0, 0, width, height, windowDC.get(), 0, 0, SRCCOPY);
        }))
      return SystemErrorText(LastErrorOr(ERROR_CAN_NOT_COMPLETE));
  }
  DWORD drawing = ERROR_SUCCESS;
  const FileFailure failure =
      WriteBitmapFile(windowDC.get(), static_cast<HBITMAP>(bitmap.get()), *layout, path, drawing);
  if (drawing) return SystemErrorText(drawing);
  if (failure) return FileFailureText(failure);
  return std::nullopt;
}

// kxActiveShot: the window the user works in. With no foreground window there is nothing to
// picture, and the author gets the system's text for an invalid window handle.
bool RunActiveShot(const ActionCall& call) {
  const std::string path = call.Param(0), variable = call.Param(1);
  return ReportCapture(variable, CaptureWindowToFile(GetForegroundWindow(), path));
}

// kxHandleShot: any window, by the handle the script holds ([WinHandle] for the publication).
bool RunHandleShot(const ActionCall& call) {
  const std::string path = call.Param(0), variable = call.Param(2);
  const std::optional<HWND> window = ParseWindowHandle(call.Param(1));
  if (!window) return ReportInvalidArguments(call);
  return ReportCapture(variable, CaptureWindowToFile(*window, path));
}

// kxScreenShot: the desktop window's rectangle is the primary display, whatever else is
// attached.
bool RunScreenShot(const ActionCall& call) {
  const std::string path = call.Param(0), variable = call.Param(1);
  return ReportCapture(variable, CaptureWindowToFile(GetDesktopWindow(), path));
}
