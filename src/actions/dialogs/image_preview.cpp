#include "actions/dialogs/image_preview.h"

#include <windows.h>
// The dialog, imaging and COM headers build on the types that windows.h declares.
#include <commdlg.h>
#include <wincodec.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/buffers.h"
#include "platform/files.h"
#include "platform/raii.h"
#include "platform/resources.h"
#include "resources/resource.h"

namespace {

constexpr char kPreviewClass[] = "zaDodePicturePreview";

// " (%dx%d)" with the picture's width and height.
std::string SizeText(int width, int height) {
  std::string text = LoadResString(IDS_PICTURE_SIZE);
  for (const int value : {width, height}) {
    const std::size_t at = text.find("%d");
    if (at == std::string::npos) break;
    text.replace(at, 2, std::to_string(value));
  }
  return text;
}

// Neither the panel nor the preview window (three quarters of a monitor) ever shows more than
// a screen's worth of a picture, so larger ones are scaled while they are decoded: a camera's
// photograph is ready in about half the time, and a 20,000-pixel one does not take gigabytes.
// The label still gives the file's own size.
UINT LargestDecodedSide() {
  const int screen = std::max(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  return static_cast<UINT>(std::clamp(screen, 640, 4096));
}

// A decoded picture, already laid over the dialog's face colour so it can be drawn with
// plain GDI calls, whatever its transparency.
struct Picture {
  HBITMAP bitmap = nullptr;
  int width = 0, height = 0;  // the file's own size
  int bitmapWidth = 0, bitmapHeight = 0;
  Picture() = default;
  Picture(const Picture&) = delete;
  Picture& operator=(const Picture&) = delete;
  ~Picture() { Reset(); }
  void Reset() {
    if (bitmap) DeleteObject(bitmap);
    bitmap = nullptr;
    width = height = bitmapWidth = bitmapHeight = 0;
  }
  explicit operator bool() const { return bitmap != nullptr; }
};

// The system's own codecs (BMP, PNG, JPEG, GIF, ICO, TIFF ...); false for anything they do not
// read, folders included.
bool LoadPicture(const std::string& path, Picture& picture) {
  picture.Reset();
  if (KindOf(path) != PathKind::kFile) return false;
  const ComScope com;
  ComPtr<IWICImagingFactory> factory;
  if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                              IID_IWICImagingFactory, factory.put_void())))
    return false;
  ComPtr<IWICBitmapDecoder> decoder;
  const std::wstring widePath = AnsiToWide(path);
  if (FAILED(factory->CreateDecoderFromFilename(widePath.c_str(), nullptr, GENERIC_READ,
                                                WICDecodeMetadataCacheOnDemand, decoder.put())))
    return false;
  ComPtr<IWICBitmapFrameDecode> frame;
  UINT width = 0, height = 0;
  if (FAILED(decoder->GetFrame(0, frame.put())) || FAILED(frame->GetSize(&width, &height)) ||
      width == 0 || height == 0)
    return false;

  IWICBitmapSource* source = frame.get();
  ComPtr<IWICBitmapScaler> scaler;
  UINT outWidth = width, outHeight = height;
  if (const UINT largest = LargestDecodedSide(); width > largest || height > largest) {
    const double scale =
        std::min(static_cast<double>(largest) / width, static_cast<double>(largest) / height);
    outWidth = std::max(1u, static_cast<UINT>(width * scale));
    outHeight = std::max(1u, static_cast<UINT>(height * scale));
    if (FAILED(factory->CreateBitmapScaler(scaler.put())) ||
        FAILED(
            scaler->Initialize(frame.get(), outWidth, outHeight, WICBitmapInterpolationModeFant)))
      return false;
    source = scaler.get();
  }
  ComPtr<IWICFormatConverter> converter;
  if (FAILED(factory->CreateFormatConverter(converter.put())) ||
      FAILED(converter->Initialize(source, GUID_WICPixelFormat32bppPBGRA, WICBitmapDitherTypeNone,
                                   nullptr, 0.0, WICBitmapPaletteTypeCustom)))
    return false;

  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = static_cast<LONG>(outWidth);
  info.bmiHeader.biHeight = -static_cast<LONG>(outHeight);  // top-down, as WIC hands rows out
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap) return false;
  const UINT stride = outWidth * 4;
  if (FAILED(
          converter->CopyPixels(nullptr, stride, stride * outHeight, static_cast<BYTE*>(bits)))) {
    DeleteObject(bitmap);
    return false;
  }
  // Premultiplied pixels over the face colour: out = pixel + face * (255 - alpha) / 255.
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  const unsigned faceBlue = GetBValue(face), faceGreen = GetGValue(face), faceRed = GetRValue(face);
  auto* pixel = static_cast<std::uint8_t*>(bits);
  for (std::size_t i = 0, n = static_cast<std::size_t>(outWidth) * outHeight; i < n;
       ++i, pixel += 4) {
    const unsigned rest = 255u - pixel[3];
    pixel[0] = static_cast<std::uint8_t>(pixel[0] + faceBlue * rest / 255);
    pixel[1] = static_cast<std::uint8_t>(pixel[1] + faceGreen * rest / 255);
    pixel[2] = static_cast<std::uint8_t>(pixel[2] + faceRed * rest / 255);
    pixel[3] = 255;
  }
  picture.bitmap = bitmap;
  picture.width = static_cast<int>(width);
  picture.height = static_cast<int>(height);
  picture.bitmapWidth = static_cast<int>(outWidth);
  picture.bitmapHeight = static_cast<int>(outHeight);
  return true;
}

// The largest rectangle of the picture's shape inside `box`, centred; never larger than the
// picture itself.
RECT FitInside(const RECT& box, int width, int height) {
  const int boxWidth = std::max(0L, box.right - box.left),
            boxHeight = std::max(0L, box.bottom - box.top);
  int drawWidth = width, drawHeight = height;
  if (drawWidth > boxWidth || drawHeight > boxHeight) {
    if (static_cast<long long>(width) * boxHeight > static_cast<long long>(height) * boxWidth) {
      drawWidth = boxWidth;
      drawHeight = std::max(1, MulDiv(height, boxWidth, width));
    } else {
      drawHeight = boxHeight;
      drawWidth = std::max(1, MulDiv(width, boxHeight, height));
    }
  }
  const int left = box.left + (boxWidth - drawWidth) / 2,
            top = box.top + (boxHeight - drawHeight) / 2;
  return {left, top, left + drawWidth, top + drawHeight};
}

void DrawPicture(HDC dc, const RECT& box, const Picture& picture) {
  FillRect(dc, &box, GetSysColorBrush(COLOR_BTNFACE));
  if (!picture) return;
  const RECT target = FitInside(box, picture.width, picture.height);
  HDC memory = CreateCompatibleDC(dc);
  if (!memory) return;
  const HGDIOBJ old = SelectObject(memory, picture.bitmap);
  SetStretchBltMode(dc, HALFTONE);
  SetBrushOrgEx(dc, 0, 0, nullptr);
  StretchBlt(dc, target.left, target.top, target.right - target.left, target.bottom - target.top,
             memory, 0, 0, picture.bitmapWidth, picture.bitmapHeight, SRCCOPY);
  SelectObject(memory, old);
  DeleteDC(memory);
}

// The separate preview window: resizable, centred on the dialog's monitor, at most three
// quarters of it, closed by Esc; the dialog stays disabled while it is open.
LRESULT CALLBACK PreviewWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  try {
    if (message == WM_NCCREATE) {
      const auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
      SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    const auto* picture =
        reinterpret_cast<const Picture*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    switch (message) {
      case WM_KEYDOWN:
        if (wParam == VK_ESCAPE) {
          DestroyWindow(window);
          return 0;
        }
        break;
      case WM_ERASEBKGND:
        return 1;
      case WM_SIZE:
        InvalidateRect(window, nullptr, FALSE);
        return 0;
      case WM_PAINT: {
        PAINTSTRUCT paint;
        if (HDC dc = BeginPaint(window, &paint)) {
          RECT client;
          GetClientRect(window, &client);
          if (picture) DrawPicture(dc, client, *picture);
          EndPaint(window, &paint);
        }
        return 0;
      }
      default:
        break;
    }
  } catch (...) {
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

void ShowPreviewWindow(HWND dialog, const Picture& picture, const std::string& title) {
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = &PreviewWindowProc;
  windowClass.hInstance = PluginModule();
  windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  windowClass.lpszClassName = kPreviewClass;
  // Registered for this window only: a class left behind would point into a library that the
  // host may unload.
  if (!RegisterClassExA(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return;

  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  GetMonitorInfoA(MonitorFromWindow(dialog, MONITOR_DEFAULTTONEAREST), &monitor);
  const RECT screen = monitor.rcMonitor;
  const LONG maxWidth = (screen.right - screen.left) * 3 / 4,
             maxHeight = (screen.bottom - screen.top) * 3 / 4;
  constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW;
  RECT frame{0, 0, picture.width, picture.height};
  AdjustWindowRectEx(&frame, kStyle, FALSE, 0);
  const LONG width = std::min(frame.right - frame.left, maxWidth);
  const LONG height = std::min(frame.bottom - frame.top, maxHeight);
  const LONG left = screen.left + (screen.right - screen.left - width) / 2;
  const LONG top = screen.top + (screen.bottom - screen.top - height) / 2;

  HWND window = CreateWindowExA(0, kPreviewClass, title.c_str(), kStyle, left, top, width, height,
                                dialog, nullptr, PluginModule(), const_cast<Picture*>(&picture));
  if (window) {
    EnableWindow(dialog, FALSE);
    ShowWindow(window, SW_SHOWNORMAL);
    SetForegroundWindow(window);
    SetFocus(window);
    MSG message;
    while (IsWindow(window)) {
      const BOOL got = GetMessageA(&message, nullptr, 0, 0);
      if (got == 0) {
        PostQuitMessage(static_cast<int>(message.wParam));  // for the host's own loop
        break;
      }
      if (got == -1) break;
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    EnableWindow(dialog, TRUE);
    if (IsWindow(window)) DestroyWindow(window);
    SetActiveWindow(dialog);
  }
  UnregisterClassA(kPreviewClass, PluginModule());
}

// An in-memory dialog template: words, with items aligned on four bytes.
class TemplateWriter {
 public:
  void Header(DWORD style, WORD items, short x, short y, short cx, short cy) {
    Dword(style);
    Dword(0);
    words_.push_back(items);
    Coordinates(x, y, cx, cy);
    words_.push_back(0);  // no menu
    words_.push_back(0);  // standard class
    words_.push_back(0);  // no title
    words_.push_back(8);  // DS_SETFONT: 8-point
    Text(L"MS Shell Dlg");
  }
  void Item(DWORD style, DWORD extendedStyle, short x, short y, short cx, short cy, WORD id,
            WORD classAtom, const wchar_t* text) {
    if (words_.size() % 2) words_.push_back(0);
    Dword(style | WS_CHILD | WS_VISIBLE);
    Dword(extendedStyle);
    Coordinates(x, y, cx, cy);
    words_.push_back(id);
    words_.push_back(0xFFFF);
    words_.push_back(classAtom);
    Text(text);
    words_.push_back(0);  // no creation data
  }
  const std::vector<WORD>& words() const { return words_; }

 private:
  void Dword(DWORD value) {
    words_.push_back(LOWORD(value));
    words_.push_back(HIWORD(value));
  }
  void Coordinates(short x, short y, short cx, short cy) {
    for (short value : {x, y, cx, cy}) words_.push_back(static_cast<WORD>(value));
  }
  void Text(const wchar_t* text) {
    while (*text) words_.push_back(static_cast<WORD>(*text++));
    words_.push_back(0);
  }
  std::vector<WORD> words_;
};

constexpr WORD kButtonAtom = 0x0080, kStaticAtom = 0x0082;
constexpr WORD kStandardControlsId = 0x045F;  // stc32: where the dialog puts its own controls

// The standard controls take the left part (stc32); the panel stands to their right, and the
// dialog moves it along when its own part turns out wider.
std::vector<WORD> BuildTemplate() {
  TemplateWriter writer;
  writer.Header(DS_3DLOOK | DS_CONTROL | DS_SETFONT | WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 4, 0,
                0, 307, 131);
  writer.Item(SS_LEFT | WS_GROUP, 0, 0, 0, 204, 131, kStandardControlsId, kStaticAtom, L"");
  writer.Item(SS_LEFT | SS_NOPREFIX, 0, 209, 4, 93, 10, kPreviewLabelId, kStaticAtom, L"");
  writer.Item(SS_OWNERDRAW, WS_EX_STATICEDGE, 209, 16, 93, 92, kPreviewPanelId, kStaticAtom, L"");
  writer.Item(BS_PUSHBUTTON | WS_TABSTOP | WS_DISABLED, 0, 252, 112, 50, 14, kPreviewButtonId,
              kButtonAtom, L"");
  return writer.words();
}

}  // namespace

struct PicturePreview::State {
  std::vector<WORD> dialogTemplate = BuildTemplate();
  GlobalBlock templateBlock;
  Picture picture;
  std::string path;
};

namespace {

void ShowSelection(HWND hook, PicturePreview::State& state, const std::string& path) {
  // The dialog repeats the notice for one click; a photograph is not decoded twice for it.
  if (!path.empty() && path == state.path && state.picture) return;
  state.path = path;
  const bool shown = !path.empty() && LoadPicture(path, state.picture);
  if (!shown) state.picture.Reset();
  const std::string label = shown ? SizeText(state.picture.width, state.picture.height)
                                  : LoadResString(IDS_PICTURE_LABEL);
  SetDlgItemTextA(hook, kPreviewLabelId, label.c_str());
  EnableWindow(GetDlgItem(hook, kPreviewButtonId), shown);
  InvalidateRect(GetDlgItem(hook, kPreviewPanelId), nullptr, TRUE);
}

std::string SelectedPath(HWND hook) {
  HWND dialog = GetParent(hook);
  const LRESULT needed = SendMessageA(dialog, CDM_GETFILEPATH, 0, 0);
  if (needed <= 0) return {};
  std::string path(static_cast<std::size_t>(needed) + 1, '\0');
  const LRESULT length = SendMessageA(dialog, CDM_GETFILEPATH, static_cast<WPARAM>(path.size()),
                                      reinterpret_cast<LPARAM>(path.data()));
  if (length <= 0) return {};
  path.resize(std::min(path.size(), static_cast<std::size_t>(length)));
  path.resize(path.find('\0') == std::string::npos ? path.size() : path.find('\0'));
  return path;
}

UINT_PTR CALLBACK PreviewHook(HWND hook, UINT message, WPARAM wParam, LPARAM lParam) {
  try {
    if (message == WM_INITDIALOG) {
      const auto* dialog = reinterpret_cast<const OPENFILENAMEA*>(lParam);
      SetWindowLongPtrA(hook, DWLP_USER, static_cast<LONG_PTR>(dialog->lCustData));
      SetDlgItemTextA(hook, kPreviewLabelId, LoadResString(IDS_PICTURE_LABEL).c_str());
      SetDlgItemTextA(hook, kPreviewButtonId, LoadResString(IDS_PICTURE_PREVIEW).c_str());
      return TRUE;
    }
    auto* state = reinterpret_cast<PicturePreview::State*>(GetWindowLongPtrA(hook, DWLP_USER));
    if (!state) return FALSE;
    switch (message) {
      case WM_NOTIFY: {
        const auto* notice = reinterpret_cast<const NMHDR*>(lParam);
        if (notice->code == CDN_SELCHANGE)
          ShowSelection(hook, *state, SelectedPath(hook));
        else if (notice->code == CDN_FOLDERCHANGE)
          ShowSelection(hook, *state, {});
        return FALSE;
      }
      case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item->CtlID != kPreviewPanelId) return FALSE;
        RECT box = item->rcItem;
        DrawPicture(item->hDC, box, state->picture);
        if (!state->picture) {
          const int oldMode = SetBkMode(item->hDC, TRANSPARENT);
          const HGDIOBJ oldFont = SelectObject(
              item->hDC, reinterpret_cast<HGDIOBJ>(SendMessageA(hook, WM_GETFONT, 0, 0)));
          DrawTextA(item->hDC, LoadResString(IDS_PICTURE_NONE).c_str(), -1, &box,
                    DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
          SelectObject(item->hDC, oldFont);
          SetBkMode(item->hDC, oldMode);
        }
        SetWindowLongPtrA(hook, DWLP_MSGRESULT, TRUE);
        return TRUE;
      }
      case WM_COMMAND:
        if (LOWORD(wParam) == kPreviewButtonId && HIWORD(wParam) == BN_CLICKED && state->picture)
          ShowPreviewWindow(GetParent(hook), state->picture, state->path);
        return FALSE;
      default:
        return FALSE;
    }
  } catch (...) {
    return FALSE;
  }
}

}  // namespace

std::optional<std::pair<int, int>> DecodePreviewPicture(const std::string& path) {
  Picture picture;
  if (!LoadPicture(path, picture)) return std::nullopt;
  return std::make_pair(picture.width, picture.height);
}

PicturePreview::PicturePreview() = default;
PicturePreview::~PicturePreview() = default;

void PicturePreview::Attach(OPENFILENAMEA& dialog) {
  if (!state_) state_ = std::make_unique<State>();
  const std::size_t bytes = state_->dialogTemplate.size() * sizeof(WORD);
  // Fixed memory: the dialog reads the template through the handle, which is then the
  // address itself.
  state_->templateBlock.reset(GlobalAlloc(GMEM_FIXED, bytes));
  if (!state_->templateBlock) return;
  std::copy_n(reinterpret_cast<const BYTE*>(state_->dialogTemplate.data()), bytes,
              static_cast<BYTE*>(state_->templateBlock.get()));
  dialog.hInstance = static_cast<HINSTANCE>(state_->templateBlock.get());
  dialog.lpfnHook = &PreviewHook;
  dialog.lCustData = reinterpret_cast<LPARAM>(state_.get());
  dialog.Flags |= OFN_ENABLEHOOK | OFN_ENABLETEMPLATEHANDLE;
}
