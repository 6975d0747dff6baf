// The about box: a modal window (editor/modal_window.h) whose loop sees key releases and clicks
// in the read-only memos before the focused control does.
#include "editor/about_box.h"

#include <string>

#include "core/shell.h"
#include "editor/modal_window.h"
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

struct AboutState : ModalWindow {
  FontHandle normal, small, title, date, bold, link;
  BrushHandle strip, art;
  IconHandle icon, artwork;
};

std::string HelpTopic(const ModalWindow&) { return "about"; }

void FocusOk(const AboutState& box) {
  SendMessageW(box.window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(box.window, IDA_OK)),
               TRUE);
}

bool Build(ModalWindow& modal) {
  auto& box = static_cast<AboutState&>(modal);
  box.normal = MakeFont(box, L"Tahoma", 11);
  box.small = MakeFont(box, L"Tahoma", 9);
  box.title = MakeFont(box, L"Tahoma", 19, FW_BOLD);
  box.date = MakeFont(box, L"Tahoma", 13, FW_NORMAL, true);
  box.bold = MakeFont(box, L"Tahoma", 11, FW_BOLD);
  box.link = MakeFont(box, L"Tahoma", 11, FW_NORMAL, false, true);
  box.strip = BrushHandle(CreateSolidBrush(kStripFill));
  box.art = BrushHandle(CreateSolidBrush(kArtFill));
  box.icon = LoadPluginIcon(box, 32);
  box.artwork = LoadPluginIcon(box, 96);
  SendMessageW(box.window, WM_SETFONT, reinterpret_cast<WPARAM>(box.normal.get()), FALSE);
  SetClientSize(box, kWidth, kHeight);

  const std::wstring name = LoadResWide(IDS_PLUGIN_TITLE);
  SetWindowTextW(box.window, FillResWide(IDS_ABOUT_CAPTION, name).c_str());

  // Left strip: links below the artwork, the notice at the bottom.
  constexpr int stripText = kStripWidth - 16;
  constexpr DWORD label = WS_VISIBLE | SS_CENTER | SS_NOPREFIX;
  CreateControl(box, 0, L"STATIC", LoadResWide(IDS_ABOUT_WEBSITE), label | SS_NOTIFY, IDA_WEBSITE,
                8, kArtSize + 24, stripText, 16, box.link.get());
  CreateControl(box, 0, L"STATIC", LoadResWide(IDS_ABOUT_EMAIL), label | SS_NOTIFY, IDA_EMAIL, 8,
                kArtSize + 44, stripText, 16, box.link.get());
  CreateControl(box, 0, L"STATIC", LoadResWide(IDS_ABOUT_COPYRIGHTS), label, IDA_COPYRIGHTS, 8,
                kHeight - 34, stripText, 24, box.small.get());

  // Right part: the group box and what it holds, in tab order OK, Help.
  constexpr int left = kGroupLeft + 12;
  CreateControl(box, 0, L"BUTTON", L"", WS_VISIBLE | BS_GROUPBOX, IDA_GROUP, kGroupLeft, kGroupTop,
                355, 377, box.bold.get());
  CreateIconControl(box, IDA_ICON, left, kGroupTop + 18, 32, 32, box.icon.get());
  CreateControl(box, 0, L"STATIC", name + L" " + LoadResWide(IDS_ABOUT_VERSION), label & ~SS_CENTER,
                IDA_NAME_VERSION, left + 44, kGroupTop + 14, 280, 24, box.title.get());
  CreateControl(box, 0, L"STATIC", LoadResWide(IDS_ABOUT_RELEASE_DATE), label & ~SS_CENTER,
                IDA_RELEASE_DATE, left + 44, kGroupTop + 40, 280, 18, box.date.get());

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
  CreateControl(box, WS_EX_CLIENTEDGE, L"EDIT", memoText(IDS_PLUGIN_HINT), memo, IDA_HINT, left,
                memoTop, kMemoWidth, thirdparty.empty() ? kMemoAloneHeight : kMemoHeight,
                box.normal.get());
  // The credits show only when this edition carries any.
  const DWORD shown = thirdparty.empty() ? 0 : WS_VISIBLE;
  CreateControl(box, 0, L"STATIC", LoadResWide(IDS_ABOUT_THIRDPARTY_LABEL),
                (label & ~(SS_CENTER | WS_VISIBLE)) | shown, IDA_THIRDPARTY_LABEL, left,
                memoTop + kMemoHeight + 8, kMemoWidth, 16, box.bold.get());
  CreateControl(box, WS_EX_CLIENTEDGE, L"EDIT", thirdparty, (memo & ~WS_VISIBLE) | shown,
                IDA_THIRDPARTY, left, memoTop + kMemoHeight + 26, kMemoWidth, kMemoHeight,
                box.normal.get());

  constexpr int buttonTop = kGroupTop + 377 - 38;
  CreateControl(box, 0, L"BUTTON", LoadResWide(IDS_FORM_OK),
                WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, IDA_OK, kGroupLeft + 355 - 12 - 75 - 80,
                buttonTop, 75, 25, box.normal.get());
  CreateControl(box, 0, L"BUTTON", LoadResWide(IDS_FORM_HELP),
                WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, IDA_HELP, kGroupLeft + 355 - 12 - 75,
                buttonTop, 75, 25, box.normal.get());
  SendMessageW(box.window, DM_SETDEFID, IDA_OK, 0);
  return true;
}

// ShapeLeft and imgLeft: the white strip and the artwork, the plug-in's icon on a panel.
void Paint(const ModalWindow& modal, HDC dc) {
  const auto& box = static_cast<const AboutState&>(modal);
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  DrawFramedShape(dc, {0, 0, box.Scale(kStripWidth), box.Scale(kHeight)}, 1, face, box.strip.get(),
                  0);
  const int artLeft = box.Scale(8), artTop = box.Scale(8);
  DrawFramedShape(dc,
                  {artLeft, artTop, artLeft + box.Scale(kArtSize), artTop + box.Scale(kArtSize)}, 1,
                  face, box.art.get(), box.Scale(16));
  const int iconOffset = box.Scale((kArtSize - 96) / 2);
  if (box.artwork)
    DrawIconEx(dc, artLeft + iconOffset, artTop + iconOffset, box.artwork.get(), box.Scale(96),
               box.Scale(96), 0, nullptr, DI_NORMAL);
}

bool IsClickable(int id) {
  return id == IDA_WEBSITE || id == IDA_EMAIL || id == IDA_HINT || id == IDA_THIRDPARTY;
}

INT_PTR Message(ModalWindow& modal, UINT message, WPARAM wParam, LPARAM) {
  auto& box = static_cast<AboutState&>(modal);
  switch (message) {
    case WM_COMMAND: {
      const int id = LOWORD(wParam), code = HIWORD(wParam);
      if (id == IDA_OK) {
        EndModal(box);
      } else if (id == IDA_WEBSITE && code == STN_CLICKED) {
        // Whether the shell could open it is not the author's concern here.
        OpenWithShell(LoadResString(IDS_ABOUT_WEBSITE), "", SW_SHOWNORMAL);
      } else if (id == IDA_EMAIL && code == STN_CLICKED) {
        OpenWithShell(LoadResString(IDS_ABOUT_MAILTO) + LoadResString(IDS_ABOUT_EMAIL), "",
                      SW_SHOWNORMAL);
      }
      return TRUE;
    }
    case WM_SETCURSOR:
      if (IsClickable(GetDlgCtrlID(reinterpret_cast<HWND>(wParam)))) {
        // IDC_HAND (32649) as a wide resource id: the header picks the narrow one here.
        SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32649)));
        SetWindowLongPtrW(box.window, DWLP_MSGRESULT, TRUE);
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

ControlColours Colours(const ModalWindow& modal, int id) {
  const auto& box = static_cast<const AboutState&>(modal);
  switch (id) {
    case IDA_WEBSITE:
    case IDA_EMAIL:
      return {kLinkColor, kStripFill, box.strip.get()};
    case IDA_COPYRIGHTS:
      return {kGreyText, kStripFill, box.strip.get()};
    case IDA_HINT:
    case IDA_THIRDPARTY:  // read-only memos on the button face
      return {CLR_INVALID, GetSysColor(COLOR_BTNFACE), GetSysColorBrush(COLOR_BTNFACE)};
    default:
      return {};
  }
}

// Esc released anywhere closes the box, also from the memos, which keep Esc's press for
// themselves; a click in a memo opens its topic.
void Preview(ModalWindow& modal, const MSG& message) {
  auto& box = static_cast<AboutState&>(modal);
  if (message.message == WM_KEYUP && message.wParam == VK_ESCAPE) {
    EndModal(box);
  } else if (message.message == WM_LBUTTONUP) {
    const int id = GetDlgCtrlID(message.hwnd);
    if (id == IDA_HINT || id == IDA_THIRDPARTY) {
      OpenHelpTopic(id == IDA_HINT ? "about" : "thirdparty");
      FocusOk(box);
    }
  }
}

constexpr ModalKind kAboutKind{&Build, &Paint, &Colours, &Message, &HelpTopic, &Preview};

}  // namespace

void ShowAboutBox() {
  AboutState box;
  box.kind = &kAboutKind;
  // Not clipping the children: the group box paints only its frame, the box fills the inside.
  ModalRun run(box, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME);
  if (!box.built) return;
  run.Show(SW_SHOW);
  FocusOk(box);
  run.Loop();
}
