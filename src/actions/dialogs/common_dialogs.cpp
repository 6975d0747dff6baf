// The system's font, colour, open and save dialogs. Each action shows its dialog modally,
// writes the user's choice, and writes "False" when the user cancels or the system refuses to
// show it; none of them is ever a failure. The property forms' Test buttons call the same
// routines with an empty result name, so an empty name must only discard results.
#include <windows.h>
// commdlg.h builds on the types that windows.h declares.
#include <commdlg.h>

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "actions/actions.h"
#include "actions/dialogs/image_preview.h"
#include "core/failures.h"
#include "core/fonts.h"
#include "core/host_io.h"
#include "platform/lead_bytes.h"
#include "platform/raii.h"
#include "platform/seams.h"
#include "pure/dialog_options.h"
#include "pure/text.h"

namespace {

constexpr DWORD kSinglePathBuffer = MAX_PATH;
constexpr DWORD kMultiSelectBuffer = 65519;

const char* NullIfEmpty(const std::string& text) { return text.empty() ? nullptr : text.c_str(); }

enum class FileDialogKind { kOpen, kSave, kOpenImage, kSaveImage };

// The four file dialogs share their eight parameters: initial name, default extension, filter,
// filter index, initial folder, title, options, result variable.
bool RunFileDialog(const ActionCall& call, FileDialogKind kind) {
  const std::string initialName = call.Param(0), defaultExtension = call.Param(1),
                    filter = call.Param(2), filterIndex = call.Param(3), folder = call.Param(4),
                    title = call.Param(5), options = call.Param(6), variable = call.Param(7);
  const bool save = kind == FileDialogKind::kSave || kind == FileDialogKind::kSaveImage;
  const bool picture = kind == FileDialogKind::kOpenImage || kind == FileDialogKind::kSaveImage;
  const FileDialogFlags flags = FileDialogOptions(options, save);

  std::string buffer(flags.multiSelect() ? kMultiSelectBuffer : kSinglePathBuffer, '\0');
  initialName.copy(buffer.data(), buffer.size() - 1);
  const std::string dialogFilter = FilterForDialog(filter);

  OPENFILENAMEA dialog{};
  dialog.lStructSize = sizeof(dialog);
  // The picture save dialog has always opened without an owner; the others belong to the
  // publication's active window, which stays disabled while they are open.
  dialog.hwndOwner = kind == FileDialogKind::kSaveImage ? nullptr : GetActiveWindow();
  dialog.lpstrFilter = dialogFilter.empty() ? nullptr : dialogFilter.c_str();
  dialog.nFilterIndex = static_cast<DWORD>(ParseLenient(filterIndex, 1));
  dialog.lpstrFile = buffer.data();
  dialog.nMaxFile = static_cast<DWORD>(buffer.size());
  dialog.lpstrInitialDir = NullIfEmpty(folder);
  dialog.lpstrTitle = NullIfEmpty(title);
  dialog.lpstrDefExt = NullIfEmpty(defaultExtension);
  dialog.Flags = flags.flags;
  dialog.FlagsEx = flags.flagsEx;

  // The preview panel is a child template of the explorer-style dialog; the old style has no
  // room for one and shows none.
  PicturePreview preview;
  if (picture && flags.explorer()) preview.Attach(dialog);

  const BOOL chosen = save ? Seams().getSaveFileName(&dialog) : Seams().getOpenFileName(&dialog);
  if (!chosen) {
    SetResultVariable(variable, kFalse);
    return true;
  }
  const std::vector<std::string> files = SelectedFiles(
      buffer, flags.multiSelect(), flags.explorer(), dialog.nFileOffset, AnsiLeadBytes());
  if (!save && flags.multiSelect()) {
    for (std::size_t i = 0; i < files.size(); ++i)
      SetIndexedVariable(static_cast<int>(i), variable, files[i]);
  } else {
    SetResultVariable(variable, files.empty() ? std::string() : files.front());
  }
  return true;
}

}  // namespace

// kxFontDialog: on OK the array gets colour, name, size, style and character set at indexes 0
// to 4; on cancel "False" goes to the array's own name. A colour that is not three numbers
// starts the dialog at black, as the property form's font button does.
bool RunFontDialog(const ActionCall& call) {
  const std::string variable = call.Param(1);
  const std::optional<FontChoice> choice =
      ChooseFontFrom(GetActiveWindow(), TextToFont(call.Param(0)));
  if (!choice) {
    SetResultVariable(variable, kFalse);
    return true;
  }
  const FontSpec& font = choice->font;
  SetIndexedVariable(0, variable, ColorToText(static_cast<std::uint32_t>(font.color)));
  SetIndexedVariable(1, variable, font.name);
  SetIndexedVariable(2, variable, std::to_string(font.size));
  SetIndexedVariable(3, variable, FontStyleText(font.styles));
  SetIndexedVariable(4, variable, CharsetName(choice->charset));
  return true;
}

// kxColorDialog: the chosen colour as "R,G,B"; the sixteen custom colours come from and go
// back to name0..name15 in hexadecimal. Slot texts that are not hexadecimal leave the slot
// empty rather than failing: the author sees them replaced on OK.
bool RunColorDialog(const ActionCall& call) {
  const std::string initial = call.Param(0), options = call.Param(1), customName = call.Param(2),
                    variable = call.Param(3);
  const bool withCustomColors = !IsBlank(customName);
  std::array<COLORREF, 16> custom;
  custom.fill(0xFFFFFFFF);
  if (withCustomColors) {
    for (int i = 0; i < 16; ++i) {
      if (const auto value = ParseCustomColor(GetHostVariable(customName + std::to_string(i))))
        custom[static_cast<std::size_t>(i)] = *value;
    }
  }
  CHOOSECOLORA dialog{};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = GetActiveWindow();
  dialog.rgbResult = 0;
  if (!IsBlank(initial) && SplitText(",", initial).size() == 3)
    dialog.rgbResult = static_cast<COLORREF>(TextToColor(initial));
  dialog.lpCustColors = custom.data();
  dialog.Flags = ColorDialogOptions(options);
  if (!Seams().chooseColor(&dialog)) {
    SetResultVariable(variable, kFalse);
    return true;
  }
  SetResultVariable(variable, ColorToText(dialog.rgbResult));
  if (withCustomColors) {
    for (int i = 0; i < 16; ++i)
      SetIndexedVariable(i, customName, CustomColorText(custom[static_cast<std::size_t>(i)]));
  }
  return true;
}

// kxOpenFileDialog: with "ofAllowMultiSelect" every chosen file goes to name0, name1 ... and
// the plain name is left alone, even for a single file.
bool RunOpenFileDialog(const ActionCall& call) {
  return RunFileDialog(call, FileDialogKind::kOpen);
}
bool RunSaveFileDialog(const ActionCall& call) {
  return RunFileDialog(call, FileDialogKind::kSave);
}
// The picture variants add a preview of the selected file beside the list.
bool RunOpenImageDialog(const ActionCall& call) {
  return RunFileDialog(call, FileDialogKind::kOpenImage);
}
bool RunSaveImageDialog(const ActionCall& call) {
  return RunFileDialog(call, FileDialogKind::kSaveImage);
}
