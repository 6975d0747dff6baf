// The plug-in's modal windows: the property forms, the about box and the picture preview. Each
// is a small state struct that starts with a ModalWindow, run by the plug-in's own loop rather
// than the system's, so that key releases and clicks reach the window before its focused
// control does (F1, the about box's Esc and memo clicks). The owner is disabled while the
// window shows; on every path it is enabled again, the window destroyed and the owner made
// active. The forms and the about box are dialogs from an empty template, sharing one dialog
// procedure; their controls are created in code at 96-DPI pixels scaled by the system DPI.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "platform/raii.h"
#include "platform/resources.h"

struct ModalWindow;

// How a static control (a read-only edit included) is drawn; no brush: the system's colours.
struct ControlColours {
  COLORREF text = CLR_INVALID;  // CLR_INVALID: the system's
  COLORREF back = 0;
  HBRUSH brush = nullptr;
};

// What one kind of dialog adds to the procedure all of them share; a null hook does nothing.
struct ModalKind {
  // WM_INITDIALOG: sizes the window and creates its controls; false when one is missing (the
  // window is then never shown).
  bool (*build)(ModalWindow& modal);
  // WM_PAINT: what lies under the controls.
  void (*paint)(const ModalWindow& modal, HDC dc);
  // WM_CTLCOLORSTATIC: the colours of the static control `id`.
  ControlColours (*colours)(const ModalWindow& modal, int id);
  // Every message the shared procedure leaves (WM_COMMAND, WM_SETCURSOR ...), answered as a
  // dialog procedure answers.
  INT_PTR (*message)(ModalWindow& modal, UINT message, WPARAM wParam, LPARAM lParam);
  // The help topic of the Help button (IDHELP) and of F1 released anywhere in the window.
  std::string (*helpTopic)(const ModalWindow& modal);
  // Messages for the window or its controls, seen before the focused control sees them.
  void (*preview)(ModalWindow& modal, const MSG& message);
};

struct ModalWindow {
  const ModalKind* kind = nullptr;  // dialogs only
  HWND window = nullptr;
  HWND owner = nullptr;
  int dpi = 96;
  bool built = false;  // every control exists: only then is the window shown
  bool done = false;

  int Scale(int pixels) const { return MulDiv(pixels, dpi, 96); }
  RECT Scale(const RECT& r) const {
    return {Scale(r.left), Scale(r.top), Scale(r.right), Scale(r.bottom)};
  }
};

// Ends the window's loop; also wakes the loop when called for a message another thread sent.
void EndModal(ModalWindow& modal);

// The manifest in the module's resources (id 2) selects common controls version 6 for the
// plug-in's windows, whatever the host process itself asked for, while this object lives.
class VisualStyles {
 public:
  VisualStyles();
  VisualStyles(const VisualStyles&) = delete;
  VisualStyles& operator=(const VisualStyles&) = delete;
  ~VisualStyles();

 private:
  ULONG_PTR cookie_ = 0;
  bool active_ = false;
};

// One showing of a modal window, from its creation to its destruction.
class ModalRun {
 public:
  // A window the caller creates over `modal.owner` (now or later) with its own window class.
  explicit ModalRun(ModalWindow& modal) : modal_(modal) {}
  // A dialog of `modal.kind` over the active window, from an empty template of `style`, in the
  // plug-in's visual styles: built and centred over its owner, hidden until Show.
  ModalRun(ModalWindow& modal, DWORD style);
  ModalRun(const ModalRun&) = delete;
  ModalRun& operator=(const ModalRun&) = delete;
  ~ModalRun();

  // Disables the owner and shows the window.
  void Show(int how) const;
  // Runs the messages until EndModal, the window's end, or the host's quit (handed on).
  void Loop();

 private:
  ModalWindow& modal_;
  std::optional<VisualStyles> styles_;
};

// Sets the size of the window's client area, in 96-DPI pixels.
void SetClientSize(const ModalWindow& modal, int width, int height);

// A font of `pixels` height at 96 DPI.
FontHandle MakeFont(const ModalWindow& modal, const wchar_t* face, int pixels,
                    int weight = FW_NORMAL, bool italic = false, bool underline = false);
// The plug-in's icon ("MAINICON") at `pixels` size at 96 DPI.
IconHandle LoadPluginIcon(const ModalWindow& modal, int pixels);

// A control of the window at 96-DPI pixel coordinates, with `font` (none: the system's).
HWND CreateControl(const ModalWindow& modal, DWORD exStyle, const wchar_t* windowClass,
                   const std::wstring& text, DWORD style, int id, int x, int y, int width,
                   int height, HFONT font);
// A visible static control showing `icon` centred.
HWND CreateIconControl(const ModalWindow& modal, int id, int x, int y, int width, int height,
                       HICON icon);

// A rectangle in device pixels filled with `fill` and framed inside by a pen `border` pixels
// wide, its corners rounded by `corner` pixels (0: square).
void DrawFramedShape(HDC dc, const RECT& box, int border, COLORREF borderColor, HBRUSH fill,
                     int corner);

// A string-table format with its "%s" filled by `value`.
std::wstring FillResWide(UINT format, const std::wstring& value);

// Opens the help file at `topic`, or tells the author that it is missing; the window stays.
void OpenHelpTopic(const std::string& topic);
