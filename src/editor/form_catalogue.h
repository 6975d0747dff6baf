// The property forms as data: for every action with an edit routine, the form kind and one
// row per input frame (slot, caption, buttons, items). The form layer reads a row; no action
// has window code of its own.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

// nbEditAction's parameter slots: the form replaces each with HandOverString on OK.
using EditSlots = char**;

enum class FrameKind : std::uint8_t { Alpha, Editor, Font, Color, List, Combo };

// btnFiles of an alpha frame, by the tag it carries: open-file, save-file, folder browser.
enum class FilesButton : std::uint8_t { None, Open, Save, Folder };

enum class FormKind : std::uint8_t {
  OneParam,
  ThreeParams,
  OneResultVar,
  OneParamWithOneResult,
  TwoParamsWithOneResult,
  ThreeParamsWithOneResult,
  PowerState,
  Special,  // caption, name and description fixed in the row
};

// The option keywords a combo or list frame offers. Keywords are never translated, so they
// come from the code that reads them, not from the string table.
using ItemList = std::span<const std::string_view> (*)();

struct FrameSpec {
  FrameKind kind = FrameKind::Alpha;
  std::int8_t slot = 0;
  std::uint16_t caption = 0;  // string id
  FilesButton files = FilesButton::None;
  ItemList items = nullptr;      // combo and list frames
  std::int8_t defaultItem = -1;  // combo frames: shown for a blank slot
  std::uint8_t column = 0;       // 0 left, 1 right (two-column forms)
  bool separatorAlone = false;   // separator shown without btnFiles
  std::int16_t width = 0;        // 0: the form's frame width (a list frame: the list's width)
  std::int16_t listHeight = 0;   // list frames; 0: the frame's usual 111 px
};

// Hooks a special form can add on top of the data (the Test button of the dialog forms).
struct FormState;
using FormHandler = void (*)(FormState& form);

// The Test button: runs the form's action on the current field texts with an empty result
// name, so the dialog shows as configured and no result reaches the host.
void RunWithFieldTexts(FormState& form);

struct FormSpec {
  std::int16_t id = 0;
  FormKind kind = FormKind::Special;
  std::array<FrameSpec, 8> frames{};
  std::uint8_t frameCount = 0;
  int width = 441;  // client area at 96 DPI
  int height = 0;
  int frameWidth = 303;
  // Special forms only: window caption and description ids (the name is the catalogue's).
  std::uint16_t caption = 0;
  std::uint16_t description = 0;
  std::uint8_t focusFrame = 0;
  FormHandler test = nullptr;  // shows the Test button when set
};

// The form row of action `id`; null for ids outside 1..95 and for the actions without
// parameters, which have no form.
const FormSpec* FindForm(int id);

// Every id that has a form row, ascending; for tests and the gallery.
int FormIds(std::array<int, 96>& ids);
