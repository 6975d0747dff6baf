// The modal window that the property forms, the about box and the picture preview share.
#include "editor/modal_window.h"

#include <windows.h>
// windows.h first: the common controls header needs its types.
#include <commctrl.h>

#include <algorithm>

#include "core/fonts.h"
#include "core/host_io.h"
#include "core/shell.h"
#include "platform/resources.h"
#include "resources/resource.h"

namespace {

void ShowHelp(const ModalWindow& modal) {
  if (modal.kind && modal.kind->helpTopic) OpenHelpTopic(modal.kind->helpTopic(modal));
}

// One procedure for every dialog: what all of them do here, the rest by their kind.
INT_PTR CALLBACK ModalDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  try {
    if (message == WM_INITDIALOG) {
      auto* modal = reinterpret_cast<ModalWindow*>(lParam);
      SetWindowLongPtrW(window, DWLP_USER, lParam);
      modal->window = window;
      modal->built = !modal->kind->build || modal->kind->build(*modal);
      return FALSE;
    }
    auto* modal = reinterpret_cast<ModalWindow*>(GetWindowLongPtrW(window, DWLP_USER));
    if (!modal) return FALSE;
    const ModalKind& kind = *modal->kind;
    switch (message) {
      case WM_COMMAND:
        // Once ended, the window answers no more commands (a click queued behind OK).
        if (modal->done || LOWORD(wParam) == IDCANCEL) {
          EndModal(*modal);
          return TRUE;
        }
        if (LOWORD(wParam) == IDHELP && HIWORD(wParam) == BN_CLICKED) {
          ShowHelp(*modal);
          return TRUE;
        }
        break;
      case WM_CLOSE:
        EndModal(*modal);
        return TRUE;
      case WM_HELP:  // F1 is answered on its release; the host must not see a help request
        return TRUE;
      case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE) BringWindowToTop(window);
        return FALSE;
      case WM_PAINT: {
        const PaintDC dc(window);
        if (kind.paint) kind.paint(*modal, dc.get());
        return TRUE;
      }
      case WM_CTLCOLORSTATIC: {
        if (!kind.colours) return FALSE;
        const ControlColours colours =
            kind.colours(*modal, GetDlgCtrlID(reinterpret_cast<HWND>(lParam)));
        if (!colours.brush) return FALSE;
        const HDC dc = reinterpret_cast<HDC>(wParam);
        if (colours.text != CLR_INVALID) SetTextColor(dc, colours.text);
        SetBkColor(dc, colours.back);
        return reinterpret_cast<INT_PTR>(colours.brush);
      }
      default:
        break;
    }
    return kind.message ? kind.message(*modal, message, wParam, lParam) : FALSE;
  } catch (...) {
    // A failure inside a handler must not unwind through the window manager; the window stays
    // open and the author can still close it.
  }
  return FALSE;
}

// An empty dialog template: the controls are created in WM_INITDIALOG, in pixels.
struct alignas(4) EmptyTemplate {
  DLGTEMPLATE header;
  WORD menu = 0, windowClass = 0, title = 0;
};

// Places `window` centred over `owner` (the work area when there is none), kept on screen.
void CentreOver(HWND window, HWND owner) {
  RECT box{};
  GetWindowRect(window, &box);
  const int width = box.right - box.left, height = box.bottom - box.top;
  RECT around{};
  if (!owner || !IsWindowVisible(owner) || !GetWindowRect(owner, &around))
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &around, 0);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromRect(&around, MONITOR_DEFAULTTONEAREST), &monitor);
  const RECT& work = monitor.rcWork;
  int x = around.left + (around.right - around.left - width) / 2;
  int y = around.top + (around.bottom - around.top - height) / 2;
  x = std::max(static_cast<int>(work.left), std::min(x, static_cast<int>(work.right) - width));
  y = std::max(static_cast<int>(work.top), std::min(y, static_cast<int>(work.bottom) - height));
  SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

void EndModal(ModalWindow& modal) {
  modal.done = true;
  PostMessageW(modal.window, WM_NULL, 0, 0);
}

VisualStyles::VisualStyles() {
  static HANDLE context = [] {
    ACTCTXW request{};
    request.cbSize = sizeof request;
    request.dwFlags = ACTCTX_FLAG_HMODULE_VALID | ACTCTX_FLAG_RESOURCE_NAME_VALID;
    request.hModule = PluginModule();
    request.lpResourceName = MAKEINTRESOURCEW(2);
    return CreateActCtxW(&request);
  }();
  if (context != INVALID_HANDLE_VALUE && ActivateActCtx(context, &cookie_)) active_ = true;
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
}

VisualStyles::~VisualStyles() {
  if (active_) DeactivateActCtx(0, cookie_);
}

ModalRun::ModalRun(ModalWindow& modal, DWORD style) : modal_(modal) {
  styles_.emplace();
  modal.owner = GetActiveWindow();
  modal.dpi = ScreenPixelsPerInch();
  EmptyTemplate dialog{};
  dialog.header.style = style;
  dialog.header.dwExtendedStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
  // The procedure records the window at WM_INITDIALOG, before the call returns.
  if (!CreateDialogIndirectParamW(PluginModule(), &dialog.header, modal.owner, &ModalDialogProc,
                                  reinterpret_cast<LPARAM>(&modal))) {
    modal.window = nullptr;
    modal.built = false;
  }
  if (modal.built) CentreOver(modal.window, modal.owner);
}

ModalRun::~ModalRun() {
  if (!modal_.window) return;
  if (modal_.owner) EnableWindow(modal_.owner, TRUE);
  if (IsWindow(modal_.window)) DestroyWindow(modal_.window);
  if (modal_.owner) SetActiveWindow(modal_.owner);
}

void ModalRun::Show(int how) const {
  if (modal_.owner) EnableWindow(modal_.owner, FALSE);
  ShowWindow(modal_.window, how);
}

void ModalRun::Loop() {
  const HWND window = modal_.window;
  MSG message;
  while (!modal_.done && IsWindow(window)) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == -1) break;
    if (got == 0) {  // the host is quitting: hand the quit on and cancel
      PostQuitMessage(static_cast<int>(message.wParam));
      break;
    }
    if (modal_.kind && (message.hwnd == window || IsChild(window, message.hwnd))) {
      if (message.message == WM_KEYUP && message.wParam == VK_F1) ShowHelp(modal_);
      if (modal_.kind->preview) modal_.kind->preview(modal_, message);
      if (modal_.done) break;
    }
    // Tab, Enter and Esc as in any dialog; Esc in a plain window is IDCANCEL too.
    if (!IsDialogMessageW(window, &message)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
}

void SetClientSize(const ModalWindow& modal, int width, int height) {
  RECT frame{0, 0, modal.Scale(width), modal.Scale(height)};
  AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(modal.window, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongPtrW(modal.window, GWL_EXSTYLE)));
  SetWindowPos(modal.window, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

FontHandle MakeFont(const ModalWindow& modal, const wchar_t* face, int pixels, int weight,
                    bool italic, bool underline) {
  return FontHandle(CreateFontW(-modal.Scale(pixels), 0, 0, 0, weight, italic, underline, FALSE,
                                DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_SWISS, face));
}

IconHandle LoadPluginIcon(const ModalWindow& modal, int pixels) {
  return IconHandle(static_cast<HICON>(LoadImageW(PluginModule(), L"MAINICON", IMAGE_ICON,
                                                  modal.Scale(pixels), modal.Scale(pixels), 0)));
}

HWND CreateControl(const ModalWindow& modal, DWORD exStyle, const wchar_t* windowClass,
                   const std::wstring& text, DWORD style, int id, int x, int y, int width,
                   int height, HFONT font) {
  HWND control =
      CreateWindowExW(exStyle, windowClass, text.c_str(), WS_CHILD | style, modal.Scale(x),
                      modal.Scale(y), modal.Scale(width), modal.Scale(height), modal.window,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), PluginModule(), nullptr);
  if (control && font) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return control;
}

HWND CreateIconControl(const ModalWindow& modal, int id, int x, int y, int width, int height,
                       HICON icon) {
  HWND control = CreateControl(modal, 0, L"STATIC", L"",
                               WS_VISIBLE | SS_ICON | SS_CENTERIMAGE | SS_REALSIZEIMAGE, id, x, y,
                               width, height, nullptr);
  SendMessageW(control, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
  return control;
}

void DrawFramedShape(HDC dc, const RECT& box, int border, COLORREF borderColor, HBRUSH fill,
                     int corner) {
  const PenHandle pen(CreatePen(PS_INSIDEFRAME, border, borderColor));
  const SelectedObject selectedPen(dc, pen.get());
  const SelectedObject selectedBrush(dc, fill);
  if (corner)
    RoundRect(dc, box.left, box.top, box.right, box.bottom, corner, corner);
  else
    Rectangle(dc, box.left, box.top, box.right, box.bottom);
}

std::wstring FillResWide(UINT format, const std::wstring& value) {
  std::wstring text = LoadResWide(format);
  const auto at = text.find(L"%s");
  if (at != std::wstring::npos) text.replace(at, 2, value);
  return text;
}

void OpenHelpTopic(const std::string& topic) {
  if (!OpenPluginHelp(topic)) ShowHostMessage(LoadResString(IDS_HELP_MISSING));
}
