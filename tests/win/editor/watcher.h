// Drives a property form from a second thread while the test thread sits in nbEditAction's
// modal loop: waits for the form, runs the script on it, and cancels it if the script left
// it open, so a failing test never hangs.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "editor/form_layer.h"
#include "platform/buffers.h"

// The visible dialog among a thread's top-level windows (EnumThreadWindows callback).
inline BOOL CALLBACK FindVisibleDialog(HWND window, LPARAM out) {
  wchar_t cls[16] = {};
  GetClassNameW(window, cls, 16);
  if (lstrcmpW(cls, L"#32770") != 0 || !IsWindowVisible(window)) return TRUE;
  *reinterpret_cast<HWND*>(out) = window;
  return FALSE;
}

class FormWatcher {
 public:
  explicit FormWatcher(std::function<void(HWND form)> script)
      : thread_([this, script = std::move(script), ui = GetCurrentThreadId()] {
          form_ = WaitForForm(ui);
          if (!form_) return;
          script(form_);
          if (IsWindow(form_)) PostMessageW(form_, WM_COMMAND, IDCANCEL, 0);
        }) {}
  ~FormWatcher() { Join(); }
  void Join() {
    if (thread_.joinable()) thread_.join();
  }
  bool SawForm() {
    Join();
    return form_ != nullptr;
  }

  static HWND WaitForForm(DWORD ui) {
    for (int i = 0; i < 1000; ++i) {
      HWND found = nullptr;
      EnumThreadWindows(ui, &FindVisibleDialog, reinterpret_cast<LPARAM>(&found));
      if (found) {
        // Answered only once the form's loop runs, after the first input got the focus.
        SendMessageW(found, WM_NULL, 0, 0);
        return found;
      }
      Sleep(10);
    }
    return nullptr;
  }

 private:
  HWND form_ = nullptr;
  std::thread thread_;
};

inline std::wstring TextOf(HWND window) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(
      static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}
inline std::wstring ItemText(HWND form, int id) { return TextOf(GetDlgItem(form, id)); }
inline HWND Input(HWND form, int frame) {
  return GetDlgItem(form, FrameControlId(frame, IDE_FRAME_INPUT));
}
inline std::string InputAnsi(HWND form, int frame) {
  return WideToAnsi(TextOf(Input(form, frame)));
}
inline void SetInput(HWND form, int frame, const std::string& ansi) {
  SetWindowTextW(Input(form, frame), AnsiToWide(ansi).c_str());
}
// Sent, so the click has been handled when this returns.
inline void Click(HWND form, int id) {
  SendMessageW(form, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(form, id)));
}

// Real input, as the author gives it: a left click at a point of the screen, a key with Ctrl.
inline void ClickAt(POINT at) {
  INPUT inputs[3] = {};
  // Every event carries the point: a pointer moved by another program between them (the
  // display is shared) must not move the press.
  const DWORD flags[3] = {0, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP};
  for (int i = 0; i < 3; ++i) {
    inputs[i].type = INPUT_MOUSE;
    inputs[i].mi.dx = MulDiv(at.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    inputs[i].mi.dy = MulDiv(at.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    inputs[i].mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE | flags[i];
  }
  SendInput(3, inputs, sizeof(INPUT));
}
// The display is shared with programs that may take the focus meanwhile: the form is brought
// back to the foreground first, and a caller checks that the press arrived.
inline void PressWithCtrl(HWND form, WORD key) {
  SetForegroundWindow(form);
  for (int i = 0; i < 100 && GetForegroundWindow() != form; ++i) Sleep(10);
  INPUT inputs[4] = {};
  const WORD keys[4] = {VK_CONTROL, key, key, VK_CONTROL};
  for (int i = 0; i < 4; ++i) {
    inputs[i].type = INPUT_KEYBOARD;
    inputs[i].ki.wVk = keys[i];
    inputs[i].ki.dwFlags = i < 2 ? 0 : KEYEVENTF_KEYUP;
  }
  SendInput(4, inputs, sizeof(INPUT));
}
inline void PutOnClipboard(HWND owner, const std::wstring& text) {
  const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
  CopyMemory(GlobalLock(block), text.c_str(), bytes);
  GlobalUnlock(block);
  if (!OpenClipboard(owner)) return;
  EmptyClipboard();
  if (!SetClipboardData(CF_UNICODETEXT, block)) GlobalFree(block);
  CloseClipboard();
}
// Input reaches the form through its own loop: polls until `done` holds, at most a few seconds.
template <typename Done>
bool WaitUntil(Done done) {
  for (int i = 0; i < 500; ++i) {
    if (done()) return true;
    Sleep(10);
  }
  return done();
}

// Parameter slots as the host holds them: GlobalAlloc'd texts or null, freed at the end.
class Slots {
 public:
  explicit Slots(const std::vector<const char*>& texts) : slots_(8, nullptr) {
    for (size_t i = 0; i < texts.size(); ++i) {
      if (!texts[i]) continue;
      // Larger than the text, so a block handed over by the plug-in (text length plus one)
      // tells itself apart even when the allocator reuses the address.
      const size_t size = lstrlenA(texts[i]) + 1;
      slots_[i] = static_cast<char*>(GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, size + 100));
      CopyMemory(slots_[i], texts[i], size);
    }
    original_ = slots_;
  }
  ~Slots() {
    for (char* slot : slots_)
      if (slot) GlobalFree(slot);
  }
  std::vector<char*>& get() { return slots_; }
  std::string Text(size_t i) const { return slots_[i] ? slots_[i] : "<null>"; }
  // The slot holds a fresh block of exactly its text's length plus one.
  bool HandedOver(size_t i) const {
    return slots_[i] && GlobalSize(slots_[i]) == static_cast<SIZE_T>(lstrlenA(slots_[i]) + 1);
  }
  bool Untouched(size_t i) const { return slots_[i] == original_[i]; }

 private:
  std::vector<char*> slots_;
  std::vector<char*> original_;
};
