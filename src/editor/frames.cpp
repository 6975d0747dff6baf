// The six input frames: a caption, one input, and flat buttons that fill the input from the
// host's pickers, a font dialog, or a file or folder dialog. Every handler works on the
// input's current text; the frames keep no state besides their controls.
#include <windows.h>
// windows.h first: the shell and dialog headers need its types.
#include <commdlg.h>
#include <shlobj.h>

#include <algorithm>
#include <array>
#include <optional>
#include <span>
#include <string_view>

#include "core/fonts.h"
#include "core/host_io.h"
#include "editor/form_layer.h"
#include "platform/buffers.h"
#include "platform/lead_bytes.h"
#include "platform/raii.h"
#include "platform/resources.h"
#include "platform/seams.h"
#include "pure/dialog_options.h"
#include "pure/frame_texts.h"
#include "pure/text.h"
#include "resources/resource.h"

namespace {

constexpr int kLabelTop = 2;
constexpr int kLabelHeight = 16;
constexpr int kInputTop = 20;
constexpr int kInputHeight = 21;
constexpr int kButtonWidth = 27;
constexpr int kButtonHeight = 23;
constexpr int kButtonTop = kInputTop - 1;
constexpr int kGap = 2;
constexpr int kSeparatorWidth = 8;
constexpr int kListHeight = 111;
constexpr int kListItemHeight = 14;
constexpr int kComboDropHeight = 200;

int ListHeight(const FrameSpec& design) {
  return design.listHeight ? design.listHeight : kListHeight;
}

std::span<const std::string_view> Items(const FrameSpec& design) {
  return design.items ? design.items() : std::span<const std::string_view>();
}

void SetItemsText(FrameState& frame) {
  // The selection, joined by commas in list order.
  std::string text;
  const int count = static_cast<int>(SendMessageW(frame.list, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    if (SendMessageW(frame.list, LB_GETSEL, i, 0) <= 0) continue;
    if (!text.empty()) text += ',';
    text += Items(*frame.design)[static_cast<std::size_t>(i)];
  }
  SetInputText(frame.input, text);
}

void InsertVariable(FormState& form, FrameState& frame) {
  const std::string answer = OpenHostPicker(1, InputText(frame.input));
  if (!answer.empty()) SetInputText(frame.input, answer);
  FocusAndSelectAll(form, frame.input);
}

void OpenActionEditor(FormState& form, FrameState& frame) {
  const std::string text = ScriptToEditorText(InputText(frame.input));
  SetInputText(frame.input, text);
  const std::string answer = OpenHostPicker(0, text);
  if (!answer.empty()) SetInputText(frame.input, EditorTextToScript(answer));
  FocusAndSelectAll(form, frame.input);
}

void PickColor(FrameState& frame) {
  const std::string answer = OpenHostPicker(5, InputText(frame.input));
  if (answer.empty()) return;
  // An answer that names no colour leaves the field as it was.
  auto color = ParseColorAnswer(answer);
  if (!color) return;
  if (IsSystemColor(*color)) color = GetSysColor(static_cast<int>(*color & 0xFF));
  SetInputText(frame.input, ColorToText(*color));
}

void PickFont(FormState& form, FrameState& frame) {
  const std::string current = InputText(frame.input);
  const FontSpec initial = IsBlank(current) ? FontSpec{} : TextToFont(current);
  const std::optional<FontChoice> choice = ChooseFontFrom(form.window, initial);
  if (!choice) {
    SetForegroundWindow(form.window);
    return;
  }
  const std::string text = FontToText(choice->font);
  if (!text.empty()) {
    SetInputText(frame.input, text);
    FocusAndSelectAll(form, frame.input);
  }
}

void BrowseFiles(FormState& form, FrameState& frame, bool save) {
  std::string buffer(64 * 1024, '\0');
  OPENFILENAMEA dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = form.window;
  dialog.lpstrFile = buffer.data();
  dialog.nMaxFile = static_cast<DWORD>(buffer.size() - 2);
  dialog.Flags = OFN_EXPLORER | OFN_ALLOWMULTISELECT | OFN_HIDEREADONLY | OFN_ENABLESIZING;
  const BOOL chosen = save ? Seams().getSaveFileName(&dialog) : Seams().getOpenFileName(&dialog);
  if (chosen) {
    std::string text = InputText(frame.input);
    for (const auto& path : SelectedFiles(buffer, true, true, dialog.nFileOffset, AnsiLeadBytes()))
      text = AppendPath(text, path);
    SetInputText(frame.input, text);
  }
  FocusAndSelectAll(form, frame.input);
}

int CALLBACK CentreBrowser(HWND window, UINT message, LPARAM, LPARAM) {
  if (message == BFFM_INITIALIZED) {
    RECT box{};
    GetWindowRect(window, &box);
    const int width = box.right - box.left, height = box.bottom - box.top;
    SetWindowPos(window, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  return 0;
}

void BrowseFolder(FormState& form, FrameState& frame) {
  // The new dialog style needs a single-threaded apartment; a thread already in another
  // mode keeps the old style instead of failing.
  const ComScope com;
  UINT flags = BIF_RETURNONLYFSDIRS | BIF_NONEWFOLDERBUTTON;
  if (!com.OtherApartment()) flags |= BIF_NEWDIALOGSTYLE;
  const std::wstring title = LoadResWide(IDS_BROWSE_FOLDER_TITLE);
  BROWSEINFOW browse{};
  browse.hwndOwner = form.window;
  browse.lpszTitle = title.c_str();
  browse.ulFlags = flags;
  browse.lpfn = &CentreBrowser;
  const CoTaskMemory<PIDLIST_ABSOLUTE> folder(Seams().shBrowseForFolder(&browse));
  std::array<wchar_t, MAX_PATH + 1> path{};
  if (folder && SHGetPathFromIDListW(folder.get(), path.data()))
    SetInputText(frame.input, WithTrailingBackslash(WideToAnsi(path.data()), AnsiLeadBytes()));
  FocusAndSelectAll(form, frame.input);
}

// The buttons to the right of the input, left to right.
struct ButtonPlan {
  FramePart part;
  Glyph glyph;
  UINT hint;
  bool tooltip;
};

int PlanButtons(const FrameSpec& design, std::array<ButtonPlan, 3>& plan, bool& separator) {
  int count = 0;
  plan[count++] = {IDB_FRAME_VARIABLES, Glyph::Variables, IDS_HINT_VARIABLES, false};
  separator = false;
  switch (design.kind) {
    case FrameKind::Alpha:
      separator = design.files != FilesButton::None || design.separatorAlone;
      if (design.files != FilesButton::None)
        plan[count++] = {IDB_FRAME_FILES,
                         design.files == FilesButton::Folder ? Glyph::Folder : Glyph::Files,
                         IDS_HINT_FILES, false};
      break;
    case FrameKind::Editor:
      separator = true;
      plan[count++] = {IDB_FRAME_OBJECTS, Glyph::Editor, IDS_HINT_EDITOR, true};
      break;
    case FrameKind::Font:
      separator = true;
      plan[count++] = {IDB_FRAME_FONT, Glyph::Font, IDS_HINT_FONT, false};
      break;
    case FrameKind::Color:
      separator = true;
      plan[count++] = {IDB_FRAME_COLOR, Glyph::Color, IDS_HINT_COLOR, true};
      break;
    case FrameKind::List:
    case FrameKind::Combo:
      break;
  }
  return count;
}

int ButtonsWidth(const FrameSpec& design) {
  std::array<ButtonPlan, 3> plan{};
  bool separator = false;
  return PlanButtons(design, plan, separator) * kButtonWidth + (separator ? kSeparatorWidth : 0);
}

// The frames that take the form's width leave room for the widest group of buttons in their
// column, so every variables button of the column stands at one x whatever follows it. A frame
// of a width of its own (a combo box, a two-column option list) keeps its own layout.
int ReservedButtonsWidth(const FormState& form, const FrameSpec& design) {
  if (design.width) return ButtonsWidth(design);
  int widest = 0;
  for (int i = 0; i < form.design->frameCount; ++i) {
    const FrameSpec& other = form.design->frames[i];
    if (!other.width && other.column == design.column)
      widest = std::max(widest, ButtonsWidth(other));
  }
  return widest;
}

}  // namespace

// A list frame: caption, list, then the text field with its button below the list.
int FrameHeight(const FrameSpec& design) {
  return design.kind == FrameKind::List ? kInputTop + ListHeight(design) + 4 + kButtonHeight + 8
                                        : 62;
}

void CreateFrame(FormState& form, int index, int x, int y, int width) {
  FrameState& frame = form.frames[index];
  const FrameSpec& design = *frame.design;
  const auto id = [index](FramePart part) { return FrameControlId(index, part); };
  CreateChild(form, 0, L"STATIC", LoadResWide(design.caption), SS_LEFT | SS_NOPREFIX,
              id(IDT_FRAME_LABEL), x, y + kLabelTop, width, kLabelHeight, FontRole::Label);
  const int reserved = ReservedButtonsWidth(form, design);
  int inputTop = y + kInputTop;
  int inputWidth = width;
  if (design.kind == FrameKind::List) {
    // Among text frames the list ends where their variables buttons end.
    const int listWidth = design.width ? design.width : width - reserved + kButtonWidth;
    frame.list = CreateChild(
        form, WS_EX_CLIENTEDGE, L"LISTBOX", L"",
        LBS_MULTIPLESEL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP,
        id(IDL_FRAME_LIST), x, inputTop, listWidth, ListHeight(design), FontRole::Input);
    SendMessageW(frame.list, LB_SETITEMHEIGHT, 0, form.Scale(kListItemHeight));
    for (const std::string_view item : Items(design))
      SendMessageW(frame.list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(AnsiToWide(item).c_str()));
    inputTop += ListHeight(design) + 4;
    if (design.width) inputWidth = listWidth;
  }

  std::array<ButtonPlan, 3> plan{};
  bool separator = false;
  const int buttons = PlanButtons(design, plan, separator);
  const int editWidth = inputWidth - kGap - reserved;
  if (design.kind == FrameKind::Combo) {
    frame.input = CreateChild(
        form, 0, L"COMBOBOX", L"", CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP,
        id(IDE_FRAME_INPUT), x, inputTop, editWidth, kComboDropHeight, FontRole::Input);
    for (const std::string_view item : Items(design))
      SendMessageW(frame.input, CB_ADDSTRING, 0,
                   reinterpret_cast<LPARAM>(AnsiToWide(item).c_str()));
  } else {
    frame.input =
        CreateChild(form, WS_EX_CLIENTEDGE, L"EDIT", L"", ES_AUTOHSCROLL | WS_TABSTOP,
                    id(IDE_FRAME_INPUT), x, inputTop, editWidth, kInputHeight, FontRole::Input);
  }
  // A variable has no length limit: without this the field takes no typing past 30,000
  // characters and cuts a longer paste without a word (a Base64 text, for one).
  SendMessageW(frame.input, design.kind == FrameKind::Combo ? CB_LIMITTEXT : EM_SETLIMITTEXT, 0, 0);

  int left = x + editWidth + kGap;
  const int buttonTop = inputTop - (kInputTop - kButtonTop);
  const auto divider = [&] {
    CreateChild(form, 0, L"STATIC", L"", SS_ETCHEDVERT, id(IDT_FRAME_SEPARATOR), left + 2,
                buttonTop, 4, 24, FontRole::Form);
  };
  for (int i = 0; i < buttons; ++i) {
    if (i == 1 && separator) {
      divider();
      left += kSeparatorWidth;
    }
    CreateGlyphButton(form, id(plan[i].part), plan[i].glyph, plan[i].hint, left, buttonTop,
                      plan[i].tooltip);
    left += kButtonWidth;
  }
  if (separator && buttons == 1) divider();  // the result frame of the font form: it alone
}

void FillFrame(FrameState& frame, const char* slotText) {
  const std::string text = slotText ? slotText : "";
  const FrameSpec& design = *frame.design;
  if (design.kind == FrameKind::Combo) {
    // A blank slot keeps the form's default entry; anything else is shown untrimmed.
    if (IsBlank(text)) {
      if (design.defaultItem >= 0) SendMessageW(frame.input, CB_SETCURSEL, design.defaultItem, 0);
    } else {
      SetInputText(frame.input, text);
    }
    return;
  }
  SetInputText(frame.input, text);
  if (design.kind != FrameKind::List) return;
  const auto items = Items(design);
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (!items[i].empty() && text.find(items[i]) != std::string::npos)
      SendMessageW(frame.list, LB_SETSEL, TRUE, static_cast<LPARAM>(i));
  }
}

bool HandleFrameCommand(FormState& form, int id, int code) {
  if (id < kFrameIdBase) return false;
  const int index = (id - kFrameIdBase) / kFrameIdStride;
  if (index >= static_cast<int>(form.frames.size())) return false;
  FrameState& frame = form.frames[index];
  const auto part = static_cast<FramePart>((id - kFrameIdBase) % kFrameIdStride);
  if (part == IDL_FRAME_LIST) {
    if (code == LBN_SELCHANGE) SetItemsText(frame);
    return true;
  }
  if (code != BN_CLICKED) return false;
  switch (part) {
    case IDB_FRAME_VARIABLES:
      InsertVariable(form, frame);
      return true;
    case IDB_FRAME_OBJECTS:
      OpenActionEditor(form, frame);
      return true;
    case IDB_FRAME_FONT:
      PickFont(form, frame);
      return true;
    case IDB_FRAME_COLOR:
      PickColor(frame);
      return true;
    case IDB_FRAME_FILES:
      if (frame.design->files == FilesButton::Folder)
        BrowseFolder(form, frame);
      else
        BrowseFiles(form, frame, frame.design->files == FilesButton::Save);
      return true;
    default:
      return false;
  }
}
