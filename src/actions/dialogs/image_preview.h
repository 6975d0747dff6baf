// The picture panel of the open-picture and save-picture dialogs: a child template with a
// hook added to an explorer-style OPENFILENAMEA. It shows the selected file scaled down
// beside the file list, its size above it, and a button that opens it in a window of its own.
#pragma once

#include <windows.h>
// commdlg.h builds on the types that windows.h declares.
#include <commdlg.h>

#include <memory>
#include <optional>
#include <string>
#include <utility>

// Control ids inside the panel's template; tests read the label by its id.
enum PreviewControlId : int {
  IDT_PREVIEW_LABEL = 0x4A01,
  IDT_PREVIEW_PANEL = 0x4A02,
  IDB_PREVIEW = 0x4A03,
};

// Decodes `path` as the panel does when it is selected: the picture's own width and height, or
// nothing when the system's codecs cannot read it.
std::optional<std::pair<int, int>> DecodePreviewPicture(const std::string& path);

class PicturePreview {
 public:
  PicturePreview();
  ~PicturePreview();
  PicturePreview(const PicturePreview&) = delete;
  PicturePreview& operator=(const PicturePreview&) = delete;

  // Adds the template and the hook to `dialog`; this object must outlive the dialog call.
  void Attach(OPENFILENAMEA& dialog);

  struct State;

 private:
  std::unique_ptr<State> state_;
};
