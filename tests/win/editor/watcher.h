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
