// The base property form and the edit routine every action with parameters shares.
#include "editor/form_layer.h"

#include <windows.h>
// windows.h first: the common controls header needs its types.
#include <commctrl.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "core/catalogue.h"
#include "core/host.h"
#include "platform/buffers.h"
#include "platform/raii.h"
#include "platform/resources.h"
#include "pure/text.h"
#include "resources/resource.h"

namespace {

constexpr int kMargin = 8;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;
constexpr int kTitleHeight = 26;
constexpr int kDescriptionHeight = 75;
// Below the frames, top to bottom: a gap, the title, a gap, the description, a gap, the footer's
// buttons and the margin under them.
constexpr int kGapBelowFrames = 2, kGapBelowTitle = 4, kGapBelowDescription = 8, kBottomMargin = 10;
constexpr int kBelowFrames = kGapBelowFrames + kTitleHeight + kGapBelowTitle + kDescriptionHeight +
                             kGapBelowDescription + kButtonHeight + kBottomMargin;
constexpr COLORREF kTitleFill = RGB(214, 214, 199);
constexpr COLORREF kTitleBorder = RGB(205, 205, 188);
constexpr COLORREF kDescriptionFill = RGB(255, 255, 225);
constexpr COLORREF kDescriptionBorder = RGB(208, 208, 193);
constexpr COLORREF kGreyText = RGB(128, 128, 128);

}  // namespace

struct FormResources {
  FontHandle form, label, input, title;
  BrushHandle titleFill, descriptionFill;
  IconHandle pluginIcon;
  std::array<IconHandle, 8> glyphs;
};

namespace {

// Frames stack from the top of their column: where frame `frame` of `column` starts, or with
// `frame` past the last one, where the column ends.
int ColumnTop(const FormSpec& design, int column, int frame) {
  int top = kMargin;
  for (int i = 0; i < frame; ++i)
    if (design.frames[i].column == column) top += FrameHeight(design.frames[i]);
  return top;
}

// A form drawn without a height of its own holds its left column and the base components below.
int ClientHeight(const FormSpec& design) {
  return design.height ? design.height : ColumnTop(design, 0, design.frameCount) + kBelowFrames;
}

// The form's geometry at 96 DPI, from the bottom up: footer, description, title.
struct BaseLayout {
  RECT title, description;
  int footerTop;
};

BaseLayout LayoutOf(const FormSpec& design) {
  BaseLayout layout{};
  layout.footerTop = ClientHeight(design) - kButtonHeight - kBottomMargin;
  const int descriptionTop = layout.footerTop - kGapBelowDescription - kDescriptionHeight;
  // On a two-column form the right column runs down to the footer; title and description
  // stay under the left one.
  bool twoColumns = false;
  for (int i = 0; i < design.frameCount; ++i) twoColumns |= design.frames[i].column != 0;
  const int right = twoColumns ? kMargin + design.frameWidth : design.width - kMargin;
  layout.description = {9, descriptionTop, right - 2, descriptionTop + kDescriptionHeight};
  const int titleTop = descriptionTop - kGapBelowTitle - kTitleHeight;
  layout.title = {kMargin, titleTop, right, titleTop + kTitleHeight};
  return layout;
}

// Glyphs are drawn at run time: a 16 x 16 picture (scaled) with a transparent background.
void DrawGlyph(HDC dc, Glyph glyph, int size) {
  const auto px = [size](int v) { return MulDiv(v, size, 16); };
  const auto fill = [&](int l, int t, int r, int b, COLORREF color) {
    const RECT box{px(l), px(t), px(r), px(b)};
    const BrushHandle brush(CreateSolidBrush(color));
    FillRect(dc, &box, brush.get());
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

IconHandle MakeGlyph(Glyph glyph, int size) {
  constexpr DWORD kKey = 0xFF00FF;  // magenta, as the picture's 32-bit pixels hold it
  const WindowDC screen(nullptr, GetDC(nullptr));
  const MemoryDC dc(CreateCompatibleDC(screen.get()));
  const BitmapHandle color(CreateCompatibleBitmap(screen.get(), size, size));
  {
    const SelectedObject selected(dc.get(), color.get());
    const RECT all{0, 0, size, size};
    const BrushHandle key(CreateSolidBrush(RGB(255, 0, 255)));
    FillRect(dc.get(), &all, key.get());
    DrawGlyph(dc.get(), glyph, size);
  }
  // Mask: 1 where the key colour shows through; the key turns black in the colour picture. The
  // pixels are read and written back in one call each: a call per pixel costs a millisecond
  // per glyph under Wine.
  BITMAPINFO pixelsInfo{};
  pixelsInfo.bmiHeader = {sizeof(BITMAPINFOHEADER), size, -size, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  std::vector<DWORD> pixels(static_cast<size_t>(size) * size);
  GetDIBits(dc.get(), color.get(), 0, size, pixels.data(), &pixelsInfo, DIB_RGB_COLORS);
  const int stride = ((size + 15) / 16) * 2;
  std::string maskBits(static_cast<size_t>(stride * size), '\0');
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      DWORD& pixel = pixels[static_cast<size_t>(y * size + x)];
      if ((pixel & 0xFFFFFF) != kKey) continue;
      maskBits[static_cast<size_t>(y * stride + x / 8)] |= static_cast<char>(0x80 >> (x % 8));
      pixel = 0;
    }
  }
  SetDIBits(dc.get(), color.get(), 0, size, pixels.data(), &pixelsInfo, DIB_RGB_COLORS);
  const BitmapHandle mask(CreateBitmap(size, size, 1, 1, maskBits.data()));
  ICONINFO info{TRUE, 0, 0, mask.get(), color.get()};
  return IconHandle(CreateIconIndirect(&info));
}

// spTitulo, a rounded rectangle with a 3 px border, and spDescripcion, a plain one with 2 px.
void PaintShapes(const ModalWindow& modal, HDC dc) {
  const auto& form = static_cast<const FormState&>(modal);
  const BaseLayout layout = LayoutOf(*form.design);
  DrawFramedShape(dc, form.Scale(layout.title), form.Scale(3), kTitleBorder,
                  form.resources->titleFill.get(), form.Scale(10));
  DrawFramedShape(dc, form.Scale(layout.description), form.Scale(2), kDescriptionBorder,
                  form.resources->descriptionFill.get(), 0);
}

// Every text field and combo box of the frames gets its double quotes as [#34].
void QuoteFields(FormState& form) {
  for (auto& frame : form.frames) {
    const std::string text = InputText(frame.input);
    const std::string quoted = QuoteForScript(text);
    if (quoted != text) SetInputText(frame.input, quoted);
  }
}

// The Test button's run: the form's action on the current field texts with an empty result
// name, so the dialog shows as configured and no result reaches the host.
void RunWithFieldTexts(FormState& form) {
  const CatalogueRow& row = *form.row;
  // Texts by slot, the result variable's left empty.
  std::array<std::string, kMaxParams> texts;
  for (const auto& frame : form.frames)
    texts[static_cast<size_t>(frame.design->slot)] = InputText(frame.input);
  if (const int result = row.ResultSlot(); result >= 0) texts[static_cast<size_t>(result)].clear();
  std::array<const char*, kMaxParams> params{};
  for (size_t i = 0; i < texts.size(); ++i) params[i] = texts[i].c_str();
  row.run(ActionCall{row, params.data()});
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
  RunWithFieldTexts(form);
}

std::string HelpTopic(const ModalWindow& modal) {
  return std::string(static_cast<const FormState&>(modal).row->name);
}

void MakeResources(FormState& form) {
  auto& res = *form.resources;
  res.form = MakeFont(form, L"Tahoma", 11);
  res.label = MakeFont(form, L"Arial", 12);
  res.input = MakeFont(form, L"Tahoma", 12);
  res.title = MakeFont(form, L"Arial", 12);
  res.titleFill = BrushHandle(CreateSolidBrush(kTitleFill));
  res.descriptionFill = BrushHandle(CreateSolidBrush(kDescriptionFill));
  res.pluginIcon = LoadPluginIcon(form, 32);
}

// The frames, first in the tab order, each below the ones before it in its column.
void CreateFrames(FormState& form) {
  const FormSpec& design = *form.design;
  form.frames.resize(design.frameCount);
  for (int i = 0; i < design.frameCount; ++i) {
    const FrameSpec& frame = design.frames[i];
    form.frames[i].design = &frame;
    const int x = frame.column ? kMargin + design.frameWidth + 10 : kMargin;
    CreateFrame(form, i, x, ColumnTop(design, frame.column, i),
                frame.width ? frame.width : design.frameWidth);
  }
}

// OK, Cancel and Help at the right of the footer; the Test button beside the option list when
// the form has one, else at the right end of the first frame.
void CreateButtons(FormState& form, const BaseLayout& layout) {
  const int right = form.design->width;
  const struct {
    UINT text;
    DWORD style;
    int id, x;
  } buttons[] = {{IDS_FORM_OK, BS_DEFPUSHBUTTON, IDB_OK, right - 243},
                 {IDS_FORM_CANCEL, BS_PUSHBUTTON, IDB_CANCEL, right - 163},
                 {IDS_FORM_HELP, BS_PUSHBUTTON, IDB_HELP, right - 83}};
  for (const auto& button : buttons)
    CreateChild(form, 0, L"BUTTON", LoadResWide(button.text), button.style | WS_TABSTOP, button.id,
                button.x, layout.footerTop, kButtonWidth, kButtonHeight, FontRole::Form);
  if (!form.design->testButton) return;
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

// Above the footer: the emblem and the action's name on the title shape, the description on
// its panel.
void CreateTitle(FormState& form, const BaseLayout& layout, const CatalogueRow& row,
                 const std::wstring& name) {
  const FormSpec& design = *form.design;
  const RECT& title = layout.title;
  CreateIconControl(form, IDI_TITULO, title.left + 6, title.top + 5, 17, 15,
                    FormGlyph(form, Glyph::Editor));
  CreateChild(form, 0, L"STATIC", name, SS_LEFT | SS_NOPREFIX | SS_CENTERIMAGE, IDT_ACTION_NAME,
              title.left + 28, title.top + 4, title.right - title.left - 36, kTitleHeight - 8,
              FontRole::Title);
  const RECT& desc = layout.description;
  const std::wstring description = LoadResWide(design.description ? design.description : row.text);
  CreateChild(form, 0, L"STATIC", description, SS_LEFT | SS_NOPREFIX | SS_EDITCONTROL,
              IDT_ACTION_DESC, desc.left + 11, desc.top + 8, desc.right - desc.left - 22, 59,
              FontRole::Label);
}

// The footer's left part: the plug-in's icon, its name above the maker's notice.
void CreateFooter(FormState& form, const BaseLayout& layout) {
  const int textWidth = form.design->width - 243 - kMargin - 44;
  CreateIconControl(form, IDI_PLUGIN_ICON, kMargin, layout.footerTop - 4, 32, 32,
                    form.resources->pluginIcon.get());
  CreateChild(form, 0, L"STATIC", FillResWide(IDS_FORM_PLUGIN_NAME, LoadResWide(IDS_PLUGIN_TITLE)),
              SS_LEFT | SS_NOPREFIX, IDT_PLUGIN_NAME, kMargin + 40, layout.footerTop - 2, textWidth,
              14, FontRole::Form);
  CreateChild(form, 0, L"STATIC", LoadResWide(IDS_FORM_COPYRIGHTS), SS_LEFT | SS_NOPREFIX,
              IDT_COPYRIGHTS, kMargin + 40, layout.footerTop + 12, textWidth, 14, FontRole::Form);
}

// Every frame filled from its slot; false when a frame has no input to fill.
bool FillFrames(FormState& form) {
  for (auto& frame : form.frames)
    FillFrame(frame, form.slots ? form.slots[frame.design->slot] : nullptr);
  return std::all_of(form.frames.begin(), form.frames.end(),
                     [](const FrameState& frame) { return frame.input != nullptr; });
}

// Fonts, brushes and size, then the controls in tab order (frames, buttons, title, footer),
// filled from the slots; the caption last.
bool BuildForm(ModalWindow& modal) {
  auto& form = static_cast<FormState&>(modal);
  const FormSpec& design = *form.design;
  MakeResources(form);
  SendMessageW(form.window, WM_SETFONT, reinterpret_cast<WPARAM>(FormFont(form, FontRole::Form)),
               FALSE);
  SetClientSize(form, design.width, ClientHeight(design));
  const BaseLayout layout = LayoutOf(design);
  CreateFrames(form);
  CreateButtons(form, layout);
  const std::wstring name = AnsiToWide(form.row->name);
  CreateTitle(form, layout, *form.row, name);
  CreateFooter(form, layout);
  if (!FillFrames(form)) return false;
  SendMessageW(form.window, DM_SETDEFID, IDB_OK, 0);
  const std::wstring caption =
      design.caption ? LoadResWide(design.caption) : FillResWide(IDS_FORM_CAPTION, name);
  SetWindowTextW(form.window, caption.c_str());
  return true;
}

INT_PTR FormMessage(ModalWindow& modal, UINT message, WPARAM wParam, LPARAM) {
  if (message != WM_COMMAND) return FALSE;
  auto& form = static_cast<FormState&>(modal);
  const int id = LOWORD(wParam), code = HIWORD(wParam);
  if (id == IDB_OK && (code == BN_CLICKED || code == 0)) {
    QuoteFields(form);
    form.ok = true;
    EndModal(form);
  } else if (id == IDB_TEST && code == BN_CLICKED && form.design->testButton) {
    RunTest(form);
  } else {
    HandleFrameCommand(form, id, code);
  }
  return TRUE;
}

ControlColours Colours(const ModalWindow& modal, int id) {
  const FormResources& res = *static_cast<const FormState&>(modal).resources;
  switch (id) {
    case IDT_ACTION_NAME:
    case IDI_TITULO:
      return {CLR_INVALID, kTitleFill, res.titleFill.get()};
    case IDT_ACTION_DESC:
      return {CLR_INVALID, kDescriptionFill, res.descriptionFill.get()};
    case IDT_PLUGIN_NAME:
    case IDT_COPYRIGHTS:
      return {kGreyText, GetSysColor(COLOR_BTNFACE), GetSysColorBrush(COLOR_BTNFACE)};
    default:
      return {};
  }
}

constexpr ModalKind kFormKind{&BuildForm,   &PaintShapes, &Colours,
                              &FormMessage, &HelpTopic,   nullptr};

}  // namespace

bool RunForm(const FormSpec& design, EditSlots slots) {
  FormResources resources;
  FormState form;
  form.kind = &kFormKind;
  form.design = &design;
  form.row = FindAction(design.id);
  form.slots = slots;
  form.resources = &resources;
  ModalRun run(form, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | WS_CLIPCHILDREN);
  // A form that could not be built completely is never shown: OK on it could write empty
  // texts over the author's parameters.
  if (!form.built) return false;
  run.Show(SW_SHOW);
  if (!form.frames.empty()) {
    const int focus = design.focusFrame < form.frames.size() ? design.focusFrame : 0;
    FocusAndSelectAll(form, form.frames[focus].input);
  }
  run.Loop();
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
  if (!slot) slot = MakeGlyph(glyph, form.Scale(16));
  return slot.get();
}

HWND CreateChild(FormState& form, DWORD exStyle, const wchar_t* windowClass,
                 const std::wstring& text, DWORD style, int id, int x, int y, int width, int height,
                 FontRole role) {
  return CreateControl(form, exStyle, windowClass, text, WS_VISIBLE | style, id, x, y, width,
                       height, FormFont(form, role));
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
