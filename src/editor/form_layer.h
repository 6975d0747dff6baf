// The property form: a modal window (editor/modal_window.h) with the base form's components
// and one input frame per parameter.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "core/catalogue.h"
#include "editor/form_catalogue.h"
#include "editor/modal_window.h"

// Control ids. Frame controls are numbered per frame (top to bottom): FrameControlId.
enum FormControlId : int {
  IDB_OK = IDOK,
  IDB_CANCEL = IDCANCEL,
  IDB_HELP = IDHELP,
  IDT_ACTION_NAME = 20,
  IDT_PLUGIN_NAME = 21,
  IDT_COPYRIGHTS = 22,
  IDT_ACTION_DESC = 23,
  IDI_PLUGIN_ICON = 24,
  IDI_TITULO = 25,
  IDB_TEST = 26,
};

enum FramePart : int {
  IDT_FRAME_LABEL = 0,
  IDE_FRAME_INPUT = 1,  // the edit field, or the combo box of a combo frame
  IDL_FRAME_LIST = 2,
  IDB_FRAME_VARIABLES = 3,
  IDB_FRAME_OBJECTS = 4,
  IDB_FRAME_FILES = 5,
  IDB_FRAME_FONT = 6,
  IDB_FRAME_COLOR = 7,
  IDT_FRAME_SEPARATOR = 8,
};
constexpr int kFrameIdBase = 100;
constexpr int kFrameIdStride = 10;
constexpr int FrameControlId(int frame, FramePart part) {
  return kFrameIdBase + frame * kFrameIdStride + part;
}

// A frame's design and the controls its text is read from.
struct FrameState {
  const FrameSpec* design = nullptr;
  HWND input = nullptr;  // the edit field, or the combo box of a combo frame
  HWND list = nullptr;   // list frames
};

struct FormResources;  // fonts, brushes, glyphs: owned by the form, freed with it

struct FormState : ModalWindow {
  const FormSpec* design = nullptr;
  const CatalogueRow* row = nullptr;  // the action the form edits
  EditSlots slots = nullptr;
  HWND tooltip = nullptr;
  std::vector<FrameState> frames;
  FormResources* resources = nullptr;
  bool ok = false;
};

// Shows `design` modally over the active window, filled from `slots`; on OK rewrites every slot
// of the form's frames and returns true, otherwise leaves them untouched.
bool RunForm(const FormSpec& design, EditSlots slots);

// The current text of an input (edit or combo box) in the host's ANSI code page.
std::string InputText(HWND input);
void SetInputText(HWND input, std::string_view ansi);
// Gives the input the focus with all its text selected.
void FocusAndSelectAll(FormState& form, HWND input);

// Frames: creation at (x, y) in 96-DPI pixels, filling from a slot, and button clicks.
int FrameHeight(const FrameSpec& design);
void CreateFrame(FormState& form, int index, int x, int y, int width);
void FillFrame(FrameState& frame, const char* slotText);
// True when the command belonged to a frame button (or list) and was handled.
bool HandleFrameCommand(FormState& form, int id, int code);

// Shared drawing resources of a form.
enum class FontRole { Form, Label, Input, Title };
HFONT FormFont(const FormState& form, FontRole role);
enum class Glyph { Variables, Objects, Files, Folder, Editor, Font, Color, Test };
HICON FormGlyph(const FormState& form, Glyph glyph);

// A visible control of the form at 96-DPI pixel coordinates, with the font of `role`.
HWND CreateChild(FormState& form, DWORD exStyle, const wchar_t* windowClass,
                 const std::wstring& text, DWORD style, int id, int x, int y, int width, int height,
                 FontRole role);
// A small push button showing a glyph; its window text is the hint, for screen readers.
HWND CreateGlyphButton(FormState& form, int id, Glyph glyph, UINT hint, int x, int y, bool tooltip);
