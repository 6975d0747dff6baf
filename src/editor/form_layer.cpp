// The base property form and the edit routine every action with parameters shares.
#include "editor/form_layer.h"

#include <windows.h>
// windows.h first: the common controls header needs its types.
#include <commctrl.h>

#include <algorithm>
#include <array>
#include <exception>
#include <memory>

#include "core/catalogue.h"
#include "core/fonts.h"
#include "core/host.h"
#include "core/host_io.h"
#include "core/shell.h"
#include "platform/buffers.h"
#include "platform/raii.h"
#include "platform/resources.h"
#include "pure/text.h"
#include "resources/resource.h"

namespace {

constexpr int kMargin = 8;
constexpr int kFrameStep = 62;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;
constexpr int kTitleHeight = 26;
constexpr int kDescriptionHeight = 75;
constexpr COLORREF kTitleFill = RGB(214, 214, 199);
constexpr COLORREF kTitleBorder = RGB(205, 205, 188);
constexpr COLORREF kDescriptionFill = RGB(255, 255, 225);
constexpr COLORREF kDescriptionBorder = RGB(208, 208, 193);
constexpr COLORREF kGreyText = RGB(128, 128, 128);

using Font = FontHandle;
using Brush = BrushHandle;
using Icon = IconHandle;

}  // namespace

struct FormResources {
  Font form, label, input, title;
  Brush titleFill, descriptionFill;
  Icon pluginIcon;
  std::array<Icon, 8> glyphs;
};

namespace {

// The form's geometry at 96 DPI, from the bottom up: footer, description, title.
struct BaseLayout {
  RECT title, description;
  int footerTop;
};

BaseLayout LayoutOf(const FormSpec& design) {
  BaseLayout layout{};
  const int width = design.width, height = design.height;
  layout.footerTop = height - kButtonHeight - 10;
  const int descriptionTop = layout.footerTop - 8 - kDescriptionHeight;
  // On a two-column form the right column runs down to the footer; title and description
  // stay under the left one.
  bool twoColumns = false;
  for (int i = 0; i < design.frameCount; ++i) twoColumns |= design.frames[i].column != 0;
  const int right = twoColumns ? kMargin + design.frameWidth : width - kMargin;
  layout.description = {9, descriptionTop, right - 2, descriptionTop + kDescriptionHeight};
  const int titleTop = descriptionTop - 4 - kTitleHeight;
  layout.title = {kMargin, titleTop, right, titleTop + kTitleHeight};
  return layout;
}

RECT Scaled(const FormState& form, const RECT& r) {
  return {form.Scale(r.left), form.Scale(r.top), form.Scale(r.right), form.Scale(r.bottom)};
}

Font MakeFont(const FormState& form, const wchar_t* face, int pixels, int weight = FW_NORMAL) {
  return Font(CreateFontW(-form.Scale(pixels), 0, 0, 0, weight, FALSE, FALSE, FALSE,
                          DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                          CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_SWISS, face));
}

// Glyphs are drawn at run time: a 16 x 16 picture (scaled) with a transparent background.
void DrawGlyph(HDC dc, Glyph glyph, int size) {
  const auto px = [size](int v) { return MulDiv(v, size, 16); };
  const auto fill = [&](int l, int t, int r, int b, COLORREF color) {
    const RECT box{px(l), px(t), px(r), px(b)};
    HBRUSH brush = CreateSolidBrush(color);
    FillRect(dc, &box, brush);
    DeleteObject(brush);
  };
  switch (glyph) {
    case Glyph::Variables:  // a pair of brackets round a dot
      fill(3, 2, 5, 14, RGB(30, 60, 140));
      fill(3, 2, 7, 4, RGB(30, 60, 140));
      fill(3, 12, 7, 14, RGB(30, 60, 140));
      fill(11, 2, 13, 14, RGB(30, 60, 140));
      fill(9, 2, 13, 4, RGB(30, 60, 140));
      fill(9, 12, 13, 14, RGB(30, 60, 140));
      fill(7, 7, 9, 9, RGB(200, 40, 40));
      break;
    case Glyph::Objects:
      for (int row = 0; row < 3; ++row) fill(3, 3 + row * 4, 13, 5 + row * 4, RGB(60, 60, 60));
      break;
    case Glyph::Files:
    case Glyph::Folder:  // a folder
      fill(1, 4, 7, 6, RGB(190, 140, 30));
      fill(1, 6, 15, 14, RGB(235, 190, 60));
      fill(1, 13, 15, 14, RGB(160, 110, 20));
      if (glyph == Glyph::Files) fill(8, 8, 13, 12, RGB(255, 255, 255));
      break;
    case Glyph::Editor:  // lines of script and a pen
      fill(2, 3, 11, 4, RGB(60, 60, 60));
      fill(2, 6, 9, 7, RGB(60, 60, 60));
      fill(2, 9, 7, 10, RGB(60, 60, 60));
      for (int i = 0; i < 6; ++i) fill(8 + i, 13 - i, 10 + i, 15 - i, RGB(30, 60, 140));
      break;
    case Glyph::Font: {  // a letter A
      for (int i = 0; i < 6; ++i) {
        fill(7 - i, 2 + i * 2, 9 - i, 4 + i * 2, RGB(40, 40, 40));
        fill(7 + i, 2 + i * 2, 9 + i, 4 + i * 2, RGB(40, 40, 40));
      }
      fill(4, 9, 12, 11, RGB(40, 40, 40));
      break;
    }
    case Glyph::Color:  // four colour squares
      fill(2, 2, 8, 8, RGB(220, 40, 40));
      fill(8, 2, 14, 8, RGB(40, 170, 40));
      fill(2, 8, 8, 14, RGB(40, 80, 220));
      fill(8, 8, 14, 14, RGB(240, 200, 40));
      break;
    case Glyph::Test:  // a green triangle
      for (int i = 0; i < 5; ++i) fill(5 + i * 2, 3 + i, 7 + i * 2, 13 - i, RGB(40, 150, 40));
      break;
  }
}

HICON MakeGlyph(Glyph glyph, int size) {
  constexpr COLORREF kKey = RGB(255, 0, 255);
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP color = CreateCompatibleBitmap(screen, size, size);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(dc, color);
  const RECT all{0, 0, size, size};
  HBRUSH key = CreateSolidBrush(kKey);
  FillRect(dc, &all, key);
  DeleteObject(key);
  DrawGlyph(dc, glyph, size);
  // Mask: 1 where the key colour shows through; the key turns black in the colour picture.
  const int stride = ((size + 15) / 16) * 2;
  std::string maskBits(static_cast<size_t>(stride * size), '\0');
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      if (GetPixel(dc, x, y) != kKey) continue;
      maskBits[static_cast<size_t>(y * stride + x / 8)] |= static_cast<char>(0x80 >> (x % 8));
      SetPixel(dc, x, y, RGB(0, 0, 0));
    }
  }
  SelectObject(dc, old);
  DeleteDC(dc);
  HBITMAP mask = CreateBitmap(size, size, 1, 1, maskBits.data());
  ICONINFO info{TRUE, 0, 0, mask, color};
  HICON icon = CreateIconIndirect(&info);
  DeleteObject(mask);
  DeleteObject(color);
  return icon;
}

void PaintShapes(const FormState& form, HDC dc) {
  const BaseLayout layout = LayoutOf(*form.design);
  // spTitulo: a rounded rectangle with a 3 px border.
  {
    const RECT r = Scaled(form, layout.title);
    HPEN pen = CreatePen(PS_INSIDEFRAME, form.Scale(3), kTitleBorder);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, form.resources->titleFill.get());
    RoundRect(dc, r.left, r.top, r.right, r.bottom, form.Scale(10), form.Scale(10));
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    DeleteObject(pen);
  }
  // spDescripcion: a plain rectangle with a 2 px border.
  {
    const RECT r = Scaled(form, layout.description);
    HPEN pen = CreatePen(PS_INSIDEFRAME, form.Scale(2), kDescriptionBorder);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, form.resources->descriptionFill.get());
    Rectangle(dc, r.left, r.top, r.right, r.bottom);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    DeleteObject(pen);
  }
}

// Every text field and combo box of the frames gets its double quotes as [#34].
void QuoteFields(FormState& form) {
  for (auto& frame : form.frames) {
    const std::string text = InputText(frame.input);
    const std::string quoted = QuoteForScript(text);
    if (quoted != text) SetInputText(frame.input, quoted);
  }
}

// The picture save dialog opens without an owner, so nothing else would keep the author from
// a second Test, or OK on the form, while a tested dialog is open.
void RunTest(FormState& form) {
  struct Disabled {
    HWND window;
    explicit Disabled(HWND w) : window(w) { EnableWindow(window, FALSE); }
    ~Disabled() {
      EnableWindow(window, TRUE);
      SetForegroundWindow(window);
    }
  } disabled{form.window};
  form.design->test(form);
}

void ShowHelp(FormState& form) {
  std::wstring name(
      static_cast<size_t>(GetWindowTextLengthW(GetDlgItem(form.window, IDT_ACTION_NAME))) + 1,
      L'\0');
  name.resize(static_cast<size_t>(
      GetDlgItemTextW(form.window, IDT_ACTION_NAME, name.data(), static_cast<int>(name.size()))));
  if (!OpenPluginHelp(WideToAnsi(name))) ShowHostMessage(LoadResString(IDS_HELP_MISSING));
}

std::wstring FillName(UINT format, const std::wstring& name) {
  std::wstring text = LoadResWide(format);
  const auto at = text.find(L"%s");
  if (at != std::wstring::npos) text.replace(at, 2, name);
  return text;
}

void BuildForm(FormState& form) {
  const FormSpec& design = *form.design;
  auto& res = *form.resources;
  res.form = MakeFont(form, L"Tahoma", 11);
  res.label = MakeFont(form, L"Arial", 12);
  res.input = MakeFont(form, L"Tahoma", 12);
  res.title = MakeFont(form, L"Arial", 12);
  res.titleFill = Brush(CreateSolidBrush(kTitleFill));
  res.descriptionFill = Brush(CreateSolidBrush(kDescriptionFill));
  SendMessageW(form.window, WM_SETFONT, reinterpret_cast<WPARAM>(res.form.get()), FALSE);

  // Client size, then the frames (first in the tab order), then the base components.
  RECT frame{0, 0, form.Scale(design.width), form.Scale(design.height)};
  const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(form.window, GWL_STYLE));
  const DWORD exStyle = static_cast<DWORD>(GetWindowLongPtrW(form.window, GWL_EXSTYLE));
  AdjustWindowRectEx(&frame, style, FALSE, exStyle);
  SetWindowPos(form.window, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

  form.frames.resize(design.frameCount);
  std::array<int, 2> columnTop{kMargin, kMargin};
  for (int i = 0; i < design.frameCount; ++i) {
    const FrameSpec& frameSpec = design.frames[i];
    form.frames[i].design = &frameSpec;
    const int column = frameSpec.column ? 1 : 0;
    const int x = column ? kMargin + design.frameWidth + 10 : kMargin;
    CreateFrame(form, i, x, columnTop[column],
                frameSpec.width ? frameSpec.width : design.frameWidth);
    columnTop[column] += FrameHeight(frameSpec) == kFrameStep ? kFrameStep : FrameHeight(frameSpec);
  }

  const BaseLayout layout = LayoutOf(design);
  const int right = design.width;
  HWND ok = CreateChild(form, 0, L"BUTTON", LoadResWide(IDS_FORM_OK), BS_DEFPUSHBUTTON | WS_TABSTOP,
                        IDB_OK, right - 243, layout.footerTop, kButtonWidth, kButtonHeight,
                        FontRole::Form);
  CreateChild(form, 0, L"BUTTON", LoadResWide(IDS_FORM_CANCEL), BS_PUSHBUTTON | WS_TABSTOP,
              IDB_CANCEL, right - 163, layout.footerTop, kButtonWidth, kButtonHeight,
              FontRole::Form);
  CreateChild(form, 0, L"BUTTON", LoadResWide(IDS_FORM_HELP), BS_PUSHBUTTON | WS_TABSTOP, IDB_HELP,
              right - 83, layout.footerTop, kButtonWidth, kButtonHeight, FontRole::Form);
  (void)ok;
  if (design.test) {
    // Beside the option list when the form has one, else at the right end of the first frame.
    int x = right - 43, y = kMargin + 20;
    for (const auto& built : form.frames) {
      if (!built.list) continue;
      RECT list{};
      GetWindowRect(built.list, &list);
      MapWindowPoints(nullptr, form.window, reinterpret_cast<POINT*>(&list), 2);
      x = MulDiv(list.right, 96, form.dpi) + 8;
      y = MulDiv(list.top, 96, form.dpi);
      break;
    }
    CreateGlyphButton(form, IDB_TEST, Glyph::Test, IDS_FORM_TEST, x, y, true);
  }

  // Title: emblem and action name; description panel; footer: icon, plug-in name, notice.
  const RECT& title = layout.title;
  HWND emblem = CreateChild(form, 0, L"STATIC", L"", SS_ICON | SS_CENTERIMAGE | SS_REALSIZEIMAGE,
                            IDI_TITULO, title.left + 6, title.top + 5, 17, 15, FontRole::Form);
  SendMessageW(emblem, STM_SETICON, reinterpret_cast<WPARAM>(FormGlyph(form, Glyph::Editor)), 0);
  const CatalogueRow& row = *FindAction(design.id);
  const std::wstring name = AnsiToWide(row.name);
  CreateChild(form, 0, L"STATIC", name, SS_LEFT | SS_NOPREFIX | SS_CENTERIMAGE, IDT_ACTION_NAME,
              title.left + 28, title.top + 4, title.right - title.left - 36, kTitleHeight - 8,
              FontRole::Title);
  const RECT& desc = layout.description;
  const std::wstring description = LoadResWide(design.description ? design.description : row.text);
  CreateChild(form, 0, L"STATIC", description, SS_LEFT | SS_NOPREFIX | SS_EDITCONTROL,
              IDT_ACTION_DESC, desc.left + 11, desc.top + 8, desc.right - desc.left - 22, 59,
              FontRole::Label);

  res.pluginIcon = Icon(static_cast<HICON>(
      LoadImageW(PluginModule(), L"MAINICON", IMAGE_ICON, form.Scale(32), form.Scale(32), 0)));
  HWND icon = CreateChild(form, 0, L"STATIC", L"", SS_ICON | SS_CENTERIMAGE | SS_REALSIZEIMAGE,
                          IDI_PLUGIN_ICON, kMargin, layout.footerTop - 4, 32, 32, FontRole::Form);
  SendMessageW(icon, STM_SETICON, reinterpret_cast<WPARAM>(res.pluginIcon.get()), 0);
  const std::wstring pluginName = AnsiToWide(LoadResString(IDS_PLUGIN_TITLE));
  CreateChild(form, 0, L"STATIC", FillName(IDS_FORM_PLUGIN_NAME, pluginName), SS_LEFT | SS_NOPREFIX,
              IDT_PLUGIN_NAME, kMargin + 40, layout.footerTop - 2, right - 243 - kMargin - 44, 14,
              FontRole::Form);
  CreateChild(form, 0, L"STATIC", LoadResWide(IDS_FORM_COPYRIGHTS), SS_LEFT | SS_NOPREFIX,
              IDT_COPYRIGHTS, kMargin + 40, layout.footerTop + 12, right - 243 - kMargin - 44, 14,
              FontRole::Form);

  for (int i = 0; i < design.frameCount; ++i) {
    const int slot = design.frames[i].slot;
    FillFrame(form.frames[i], form.slots ? form.slots[slot] : nullptr);
  }
  for (const auto& built : form.frames) {
    if (!built.input) return;
  }
  SendMessageW(form.window, DM_SETDEFID, IDB_OK, 0);
  const std::wstring caption =
      design.caption ? LoadResWide(design.caption) : FillName(IDS_FORM_CAPTION, name);
  SetWindowTextW(form.window, caption.c_str());
  form.built = true;
}

}  // namespace

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

namespace {

INT_PTR CALLBACK FormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  try {
    if (message == WM_INITDIALOG) {
      auto* form = reinterpret_cast<FormState*>(lParam);
      SetWindowLongPtrW(window, DWLP_USER, lParam);
      form->window = window;
      BuildForm(*form);
      return FALSE;
    }
    auto* form = reinterpret_cast<FormState*>(GetWindowLongPtrW(window, DWLP_USER));
    if (!form) return FALSE;
    switch (message) {
      case WM_COMMAND: {
        const int id = LOWORD(wParam), code = HIWORD(wParam);
        if (id == IDB_OK && (code == BN_CLICKED || code == 0)) {
          QuoteFields(*form);
          form->ok = true;
          form->done = true;
        } else if (id == IDB_CANCEL) {
          form->done = true;
        }
        if (form->done) {
          // Wakes the loop when the command was sent rather than posted.
          PostMessageW(window, WM_NULL, 0, 0);
          return TRUE;
        }
        if (id == IDB_HELP && code == BN_CLICKED) {
          ShowHelp(*form);
        } else if (id == IDB_TEST && code == BN_CLICKED && form->design->test) {
          RunTest(*form);
        } else {
          HandleFrameCommand(*form, id, code);
        }
        return TRUE;
      }
      case WM_CLOSE:
        form->done = true;
        PostMessageW(window, WM_NULL, 0, 0);
        return TRUE;
      case WM_HELP:  // F1 is handled on its release; the host must not see a help request
        return TRUE;
      case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE) BringWindowToTop(window);
        return FALSE;
      case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        PaintShapes(*form, dc);
        EndPaint(window, &paint);
        return TRUE;
      }
      case WM_CTLCOLORSTATIC: {
        HDC dc = reinterpret_cast<HDC>(wParam);
        switch (GetDlgCtrlID(reinterpret_cast<HWND>(lParam))) {
          case IDT_ACTION_NAME:
          case IDI_TITULO:
            SetBkColor(dc, kTitleFill);
            return reinterpret_cast<INT_PTR>(form->resources->titleFill.get());
          case IDT_ACTION_DESC:
            SetBkColor(dc, kDescriptionFill);
            return reinterpret_cast<INT_PTR>(form->resources->descriptionFill.get());
          case IDT_PLUGIN_NAME:
          case IDT_COPYRIGHTS:
            SetTextColor(dc, kGreyText);
            SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
            return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
          default:
            return FALSE;
        }
      }
    }
  } catch (...) {
    // A failure inside a handler must not unwind through the window manager; the form
    // stays open and the author can still cancel.
  }
  return FALSE;
}

// An empty dialog template: the controls are created in WM_INITDIALOG, in pixels.
struct alignas(4) EmptyTemplate {
  DLGTEMPLATE header;
  WORD menu = 0, windowClass = 0, title = 0;
};

}  // namespace

// The loop is the form's own so that key releases are seen before the focused control sees
// them (F1), and so that the form is destroyed on every path.
bool RunForm(const FormSpec& design, EditSlots slots) {
  const VisualStyles styles;
  FormResources resources;
  FormState form;
  form.design = &design;
  form.slots = slots;
  form.owner = GetActiveWindow();
  form.dpi = ScreenPixelsPerInch();
  form.resources = &resources;

  EmptyTemplate dialog{};
  dialog.header.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | WS_CLIPCHILDREN;
  dialog.header.dwExtendedStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
  HWND window = CreateDialogIndirectParamW(PluginModule(), &dialog.header, form.owner, &FormProc,
                                           reinterpret_cast<LPARAM>(&form));
  if (!window) return false;
  struct Closer {
    FormState& form;
    ~Closer() {
      if (form.owner) EnableWindow(form.owner, TRUE);
      DestroyWindow(form.window);
      if (form.owner) SetActiveWindow(form.owner);
    }
  } closer{form};

  // A form that could not be built completely is never shown: OK on it could write empty
  // texts over the author's parameters.
  if (!form.built) return false;
  CentreOver(form.window, form.owner);
  if (form.owner) EnableWindow(form.owner, FALSE);
  ShowWindow(window, SW_SHOW);
  if (!form.frames.empty()) {
    const int focus = design.focusFrame < form.frames.size() ? design.focusFrame : 0;
    FocusAndSelectAll(form, form.frames[focus].input);
  }

  MSG message;
  while (!form.done) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == -1) break;
    if (got == 0) {  // the host is quitting: hand the quit on and cancel
      PostQuitMessage(static_cast<int>(message.wParam));
      break;
    }
    if (message.message == WM_KEYUP && message.wParam == VK_F1 &&
        (message.hwnd == window || IsChild(window, message.hwnd)))
      ShowHelp(form);
    if (!IsDialogMessageW(window, &message)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  if (!form.ok) return false;
  // Texts first, then every slot: OK rewrites all of them, changed or not.
  std::vector<std::string> texts;
  for (const auto& frame : form.frames) texts.push_back(InputText(frame.input));
  for (size_t i = 0; i < form.frames.size(); ++i)
    HandOverString(&slots[form.frames[i].design->slot], texts[i]);
  return true;
}

std::string InputText(HWND input) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(input)) + 1, L'\0');
  text.resize(
      static_cast<size_t>(GetWindowTextW(input, text.data(), static_cast<int>(text.size()))));
  return WideToAnsi(text);
}

void SetInputText(HWND input, std::string_view ansi) {
  SetWindowTextW(input, AnsiToWide(ansi).c_str());
}

void FocusAndSelectAll(FormState& form, HWND input) {
  // WM_NEXTDLGCTL moves the dialog's own focus record and selects an edit's whole text.
  SendMessageW(form.window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(input), TRUE);
  SendMessageW(input, EM_SETSEL, 0, -1);
  wchar_t cls[16] = {};
  GetClassNameW(input, cls, 16);
  if (lstrcmpiW(cls, L"COMBOBOX") == 0) SendMessageW(input, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
}

HFONT FormFont(const FormState& form, FontRole role) {
  switch (role) {
    case FontRole::Form:
      return form.resources->form.get();
    case FontRole::Label:
      return form.resources->label.get();
    case FontRole::Input:
      return form.resources->input.get();
    case FontRole::Title:
      return form.resources->title.get();
  }
  return nullptr;
}

HICON FormGlyph(const FormState& form, Glyph glyph) {
  auto& slot = form.resources->glyphs[static_cast<size_t>(glyph)];
  if (!slot) slot = Icon(MakeGlyph(glyph, form.Scale(16)));
  return slot.get();
}

HWND CreateChild(FormState& form, DWORD exStyle, const wchar_t* windowClass,
                 const std::wstring& text, DWORD style, int id, int x, int y, int width, int height,
                 FontRole role) {
  HWND child = CreateWindowExW(exStyle, windowClass, text.c_str(), WS_CHILD | WS_VISIBLE | style,
                               form.Scale(x), form.Scale(y), form.Scale(width), form.Scale(height),
                               form.window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                               PluginModule(), nullptr);
  if (child) SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(FormFont(form, role)), FALSE);
  return child;
}

HWND CreateGlyphButton(FormState& form, int id, Glyph glyph, UINT hint, int x, int y,
                       bool tooltip) {
  const std::wstring text = LoadResWide(hint);
  HWND button = CreateChild(form, 0, L"BUTTON", text, BS_PUSHBUTTON | BS_ICON, id, x, y, 27, 23,
                            FontRole::Form);
  SendMessageW(button, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(FormGlyph(form, glyph)));
  if (tooltip) {
    if (!form.tooltip)
      form.tooltip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                     WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                     CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, form.window,
                                     nullptr, PluginModule(), nullptr);
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = form.window;
    tool.uId = reinterpret_cast<UINT_PTR>(button);
    tool.lpszText = const_cast<wchar_t*>(text.c_str());
    if (form.tooltip) SendMessageW(form.tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
  return button;
}

void RunWithFieldTexts(FormState& form) {
  const CatalogueRow* row = FindAction(form.design->id);
  if (!row) return;
  // Texts by slot, the result variable's left empty.
  std::array<std::string, kMaxParams> texts;
  for (const auto& frame : form.frames)
    texts[static_cast<size_t>(frame.design->slot)] = InputText(frame.input);
  if (const int result = row->ResultSlot(); result >= 0) texts[static_cast<size_t>(result)].clear();
  std::array<const char*, kMaxParams> params{};
  for (size_t i = 0; i < texts.size(); ++i) params[i] = texts[i].c_str();
  row->run(ActionCall{*row, params.data()});
}
