// The about box: a modeless dialog with a loop of its own (as the property forms have), so that
// key releases and clicks in the read-only memos are seen before the focused control sees them.
#include "editor/about_box.h"

#include <string>

#include "core/fonts.h"
#include "core/host_io.h"
#include "core/shell.h"
#include "editor/form_layer.h"
#include "platform/buffers.h"
#include "platform/raii.h"
#include "platform/resources.h"
#include "resources/resource.h"

namespace {

constexpr int kWidth = 535;
constexpr int kHeight = 392;
constexpr int kStripWidth = 166;
constexpr int kArtSize = 150;
constexpr int kGroupLeft = 172;
constexpr int kGroupTop = 6;
constexpr int kMemoWidth = 329;
constexpr int kMemoHeight = 65;
constexpr int kMemoAloneHeight = 155;
constexpr COLORREF kLinkColor = RGB(0, 0, 255);
constexpr COLORREF kGreyText = RGB(128, 128, 128);
constexpr COLORREF kStripFill = RGB(255, 255, 255);
constexpr COLORREF kArtFill = RGB(214, 214, 199);

using Font = FontHandle;
using Brush = BrushHandle;
using Icon = IconHandle;

struct AboutState {
  HWND window = nullptr;
  HWND owner = nullptr;
  int dpi = 96;
  bool built = false;
  bool done = false;
  Font normal, small, title, date, bold, link;
  Brush strip, art;
  Icon icon, artwork;

  int Scale(int pixels) const { return MulDiv(pixels, dpi, 96); }
  Font MakeFont(int pixels, int weight = FW_NORMAL, bool italic = false,
                bool underline = false) const {
    return Font(CreateFontW(-Scale(pixels), 0, 0, 0, weight, italic, underline, FALSE,
                            DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                            CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Tahoma"));
  }
  HWND Child(const wchar_t* windowClass, const std::wstring& text, DWORD style, int id, int x,
             int y, int width, int height, HFONT font, DWORD exStyle = 0) const {
    HWND child =
        CreateWindowExW(exStyle, windowClass, text.c_str(), WS_CHILD | style, Scale(x), Scale(y),
                        Scale(width), Scale(height), window,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), PluginModule(), nullptr);
    if (child) SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return child;
  }
};

void ShowHelpTopic(const char* topic) {
  if (!OpenPluginHelp(topic)) ShowHostMessage(LoadResString(IDS_HELP_MISSING));
}

void FocusOk(const AboutState& box) {
  SendMessageW(box.window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(box.window, IDA_OK)),
               TRUE);
}

std::wstring Formatted(UINT format, const std::wstring& value) {
  std::wstring text = LoadResWide(format);
  const auto at = text.find(L"%s");
  if (at != std::wstring::npos) text.replace(at, 2, value);
  return text;
}

void Build(AboutState& box) {
  box.normal = box.MakeFont(11);
  box.small = box.MakeFont(9);
  box.title = box.MakeFont(19, FW_BOLD);
  box.date = box.MakeFont(13, FW_NORMAL, true);
  box.bold = box.MakeFont(11, FW_BOLD);
  box.link = box.MakeFont(11, FW_NORMAL, false, true);
  box.strip = Brush(CreateSolidBrush(kStripFill));
  box.art = Brush(CreateSolidBrush(kArtFill));
  SendMessageW(box.window, WM_SETFONT, reinterpret_cast<WPARAM>(box.normal.get()), FALSE);

  RECT frame{0, 0, box.Scale(kWidth), box.Scale(kHeight)};
  AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(box.window, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongPtrW(box.window, GWL_EXSTYLE)));
  SetWindowPos(box.window, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

  const std::wstring name = AnsiToWide(LoadResString(IDS_PLUGIN_TITLE));
  SetWindowTextW(box.window, Formatted(IDS_ABOUT_CAPTION, name).c_str());

  // Left strip: links below the artwork, the notice at the bottom.
  constexpr int stripText = kStripWidth - 16;
  constexpr DWORD label = WS_VISIBLE | SS_CENTER | SS_NOPREFIX;
  box.Child(L"STATIC", LoadResWide(IDS_ABOUT_WEBSITE), label | SS_NOTIFY, IDA_WEBSITE, 8,
            kArtSize + 24, stripText, 16, box.link.get());
  box.Child(L"STATIC", LoadResWide(IDS_ABOUT_EMAIL), label | SS_NOTIFY, IDA_EMAIL, 8, kArtSize + 44,
            stripText, 16, box.link.get());
  box.Child(L"STATIC", LoadResWide(IDS_ABOUT_COPYRIGHTS), label, IDA_COPYRIGHTS, 8, kHeight - 34,
            stripText, 24, box.small.get());

  // Right part: the group box and what it holds, in tab order OK, Help.
  constexpr int left = kGroupLeft + 12;
  box.Child(L"BUTTON", L"", WS_VISIBLE | BS_GROUPBOX, IDA_GROUP, kGroupLeft, kGroupTop, 355, 377,
            box.bold.get());
  box.icon = Icon(static_cast<HICON>(
      LoadImageW(PluginModule(), L"MAINICON", IMAGE_ICON, box.Scale(32), box.Scale(32), 0)));
  HWND icon = box.Child(L"STATIC", L"", WS_VISIBLE | SS_ICON | SS_CENTERIMAGE | SS_REALSIZEIMAGE,
                        IDA_ICON, left, kGroupTop + 18, 32, 32, box.normal.get());
  SendMessageW(icon, STM_SETICON, reinterpret_cast<WPARAM>(box.icon.get()), 0);
  box.Child(L"STATIC", name + L" " + LoadResWide(IDS_ABOUT_VERSION), label & ~SS_CENTER,
            IDA_NAME_VERSION, left + 44, kGroupTop + 14, 280, 24, box.title.get());
  box.Child(L"STATIC", LoadResWide(IDS_ABOUT_RELEASE_DATE), label & ~SS_CENTER, IDA_RELEASE_DATE,
            left + 44, kGroupTop + 40, 280, 18, box.date.get());

  // The memos keep Windows line ends; the string table holds plain line feeds.
  const auto memoText = [](UINT id) {
    std::wstring text;
    for (const wchar_t c : LoadResWide(id)) {
      if (c == L'\n') text += L'\r';
      text += c;
    }
    return text;
  };
  const std::wstring thirdparty = memoText(IDS_ABOUT_THIRDPARTY);
  constexpr DWORD memo = WS_VISIBLE | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL;
  constexpr int memoTop = kGroupTop + 70;
  box.Child(L"EDIT", memoText(IDS_PLUGIN_HINT), memo, IDA_HINT, left, memoTop, kMemoWidth,
            thirdparty.empty() ? kMemoAloneHeight : kMemoHeight, box.normal.get(),
            WS_EX_CLIENTEDGE);
  // The credits show only when this edition carries any.
  const DWORD shown = thirdparty.empty() ? 0 : WS_VISIBLE;
  box.Child(L"STATIC", LoadResWide(IDS_ABOUT_THIRDPARTY_LABEL),
            (label & ~(SS_CENTER | WS_VISIBLE)) | shown, IDA_THIRDPARTY_LABEL, left,
            memoTop + kMemoHeight + 8, kMemoWidth, 16, box.bold.get());
  box.Child(L"EDIT", thirdparty, (memo & ~WS_VISIBLE) | shown, IDA_THIRDPARTY, left,
            memoTop + kMemoHeight + 26, kMemoWidth, kMemoHeight, box.normal.get(),
            WS_EX_CLIENTEDGE);

  constexpr int buttonTop = kGroupTop + 377 - 38;
  box.Child(L"BUTTON", LoadResWide(IDS_FORM_OK), WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, IDA_OK,
            kGroupLeft + 355 - 12 - 75 - 80, buttonTop, 75, 25, box.normal.get());
  box.Child(L"BUTTON", LoadResWide(IDS_FORM_HELP), WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON,
            IDA_HELP, kGroupLeft + 355 - 12 - 75, buttonTop, 75, 25, box.normal.get());
  SendMessageW(box.window, DM_SETDEFID, IDA_OK, 0);

  box.artwork = Icon(static_cast<HICON>(
      LoadImageW(PluginModule(), L"MAINICON", IMAGE_ICON, box.Scale(96), box.Scale(96), 0)));
  box.built = true;
}

// ShapeLeft and imgLeft: the white strip and the artwork, the plug-in's icon on a panel.
void Paint(const AboutState& box, HDC dc) {
  HPEN pen = CreatePen(PS_INSIDEFRAME, 1, GetSysColor(COLOR_BTNFACE));
  HGDIOBJ oldPen = SelectObject(dc, pen);
  HGDIOBJ oldBrush = SelectObject(dc, box.strip.get());
  Rectangle(dc, 0, 0, box.Scale(kStripWidth), box.Scale(kHeight));
  SelectObject(dc, box.art.get());
  const int artLeft = box.Scale(8), artTop = box.Scale(8);
  RoundRect(dc, artLeft, artTop, artLeft + box.Scale(kArtSize), artTop + box.Scale(kArtSize),
            box.Scale(16), box.Scale(16));
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  DeleteObject(pen);
  const int iconOffset = box.Scale((kArtSize - 96) / 2);
  if (box.artwork)
    DrawIconEx(dc, artLeft + iconOffset, artTop + iconOffset, box.artwork.get(), box.Scale(96),
               box.Scale(96), 0, nullptr, DI_NORMAL);
}

bool IsClickable(int id) {
  return id == IDA_WEBSITE || id == IDA_EMAIL || id == IDA_HINT || id == IDA_THIRDPARTY;
}

INT_PTR CALLBACK AboutProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  try {
    if (message == WM_INITDIALOG) {
      auto* box = reinterpret_cast<AboutState*>(lParam);
      SetWindowLongPtrW(window, DWLP_USER, lParam);
      box->window = window;
      Build(*box);
      return FALSE;
    }
    auto* box = reinterpret_cast<AboutState*>(GetWindowLongPtrW(window, DWLP_USER));
    if (!box) return FALSE;
    switch (message) {
      case WM_COMMAND: {
        const int id = LOWORD(wParam), code = HIWORD(wParam);
        if (id == IDA_OK || id == IDCANCEL) {
          box->done = true;
          PostMessageW(window, WM_NULL, 0, 0);
        } else if (id == IDA_HELP && code == BN_CLICKED) {
          ShowHelpTopic("about");
        } else if (id == IDA_WEBSITE && code == STN_CLICKED) {
          // Whether the shell could open it is not the author's concern here.
          OpenWithShell(LoadResString(IDS_ABOUT_WEBSITE), "", SW_SHOWNORMAL);
        } else if (id == IDA_EMAIL && code == STN_CLICKED) {
          OpenWithShell(LoadResString(IDS_ABOUT_MAILTO) + LoadResString(IDS_ABOUT_EMAIL), "",
                        SW_SHOWNORMAL);
        }
        return TRUE;
      }
      case WM_CLOSE:
        box->done = true;
        PostMessageW(window, WM_NULL, 0, 0);
        return TRUE;
      case WM_HELP:  // F1 is handled on its release
        return TRUE;
      case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE) BringWindowToTop(window);
        return FALSE;
      case WM_SETCURSOR:
        if (IsClickable(GetDlgCtrlID(reinterpret_cast<HWND>(wParam)))) {
          // IDC_HAND (32649) as a wide resource id: the header picks the narrow one here.
          SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32649)));
          SetWindowLongPtrW(window, DWLP_MSGRESULT, TRUE);
          return TRUE;
        }
        return FALSE;
      case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        Paint(*box, dc);
        EndPaint(window, &paint);
        return TRUE;
      }
      case WM_CTLCOLORSTATIC: {
        HDC dc = reinterpret_cast<HDC>(wParam);
        switch (GetDlgCtrlID(reinterpret_cast<HWND>(lParam))) {
          case IDA_WEBSITE:
          case IDA_EMAIL:
            SetTextColor(dc, kLinkColor);
            SetBkColor(dc, kStripFill);
            return reinterpret_cast<INT_PTR>(box->strip.get());
          case IDA_COPYRIGHTS:
            SetTextColor(dc, kGreyText);
            SetBkColor(dc, kStripFill);
            return reinterpret_cast<INT_PTR>(box->strip.get());
          case IDA_HINT:
          case IDA_THIRDPARTY:  // read-only memos on the button face
            SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
            return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
          default:
            return FALSE;
        }
      }
    }
  } catch (...) {
    // Nothing may unwind through the window manager; the box stays usable and can be closed.
  }
  return FALSE;
}

struct alignas(4) EmptyTemplate {
  DLGTEMPLATE header;
  WORD menu = 0, windowClass = 0, title = 0;
};

// Keys and clicks the box answers before the focused control does.
void Preview(AboutState& box, const MSG& message) {
  if (message.hwnd != box.window && !IsChild(box.window, message.hwnd)) return;
  if (message.message == WM_KEYUP && message.wParam == VK_ESCAPE) {
    box.done = true;
  } else if (message.message == WM_KEYUP && message.wParam == VK_F1) {
    ShowHelpTopic("about");
  } else if (message.message == WM_LBUTTONUP) {
    const int id = GetDlgCtrlID(message.hwnd);
    if (id == IDA_HINT || id == IDA_THIRDPARTY) {
      ShowHelpTopic(id == IDA_HINT ? "about" : "thirdparty");
      FocusOk(box);
    }
  }
}

}  // namespace

void ShowAboutBox() {
  const VisualStyles styles;
  AboutState box;
  box.owner = GetActiveWindow();
  box.dpi = ScreenPixelsPerInch();
  EmptyTemplate dialog{};
  // Not clipping the children: the group box paints only its frame, the box fills the inside.
  dialog.header.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
  dialog.header.dwExtendedStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
  HWND window = CreateDialogIndirectParamW(PluginModule(), &dialog.header, box.owner, &AboutProc,
                                           reinterpret_cast<LPARAM>(&box));
  if (!window) return;
  struct Closer {
    AboutState& box;
    ~Closer() {
      if (box.owner) EnableWindow(box.owner, TRUE);
      DestroyWindow(box.window);
      if (box.owner) SetActiveWindow(box.owner);
    }
  } closer{box};
  if (!box.built) return;

  CentreOver(window, box.owner);
  if (box.owner) EnableWindow(box.owner, FALSE);
  ShowWindow(window, SW_SHOW);
  FocusOk(box);
  MSG message;
  while (!box.done) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == -1) break;
    if (got == 0) {  // the host is quitting: hand the quit on
      PostQuitMessage(static_cast<int>(message.wParam));
      break;
    }
    Preview(box, message);
    if (box.done) break;
    if (!IsDialogMessageW(window, &message)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
}
