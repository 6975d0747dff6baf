// Drives a modal dialog that the test's own thread is blocked in: a second thread waits for the
// dialog to appear among the test thread's windows, runs the test's steps on it (fill fields,
// press buttons) and, should the steps leave it open, cancels it so no test can hang.
#pragma once

#include <windows.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>

inline std::string ClassOf(HWND window) {
  char name[64] = {};
  GetClassNameA(window, name, sizeof(name));
  return name;
}

// The first window that `match` accepts: among the top-level windows of `thread` when
// `parent` is null, otherwise anywhere below `parent`.
template <typename Match>
HWND FindWindowWhere(DWORD thread, HWND parent, Match match) {
  struct Search {
    Match& match;
    HWND found;
  } search{match, nullptr};
  const WNDENUMPROC visit = [](HWND window, LPARAM data) -> BOOL {
    auto* s = reinterpret_cast<Search*>(data);
    if (!s->match(window)) return TRUE;
    s->found = window;
    return FALSE;
  };
  if (parent)
    EnumChildWindows(parent, visit, reinterpret_cast<LPARAM>(&search));
  else
    EnumThreadWindows(thread, visit, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

inline HWND FindThreadWindow(DWORD thread, const char* className) {
  return FindWindowWhere(thread, nullptr,
                         [&](HWND w) { return IsWindowVisible(w) && ClassOf(w) == className; });
}
// The explorer-style dialog keeps some controls in child dialogs, so ids are searched deep.
inline HWND FindControl(HWND parent, int id) {
  return FindWindowWhere(0, parent, [&](HWND w) { return GetDlgCtrlID(w) == id; });
}
inline HWND FindChildByClass(HWND parent, const char* className) {
  return FindWindowWhere(0, parent, [&](HWND w) { return ClassOf(w) == className; });
}

inline std::string WindowText(HWND window) {
  char text[512] = {};
  GetWindowTextA(window, text, sizeof(text));
  return text;
}

// Waits up to `seconds` for `condition`.
template <typename Condition>
bool WaitFor(Condition condition, double seconds = 10) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (std::chrono::steady_clock::now() < end) {
    if (condition()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return condition();
}

inline void PressButton(HWND dialog, int id) {
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

class DialogWatcher {
 public:
  // `steps` runs on the watcher thread with the dialog found; `found` tells the test whether it
  // ever appeared.
  explicit DialogWatcher(std::function<void(HWND)> steps, const char* className = "#32770")
      : owner_(GetCurrentThreadId()), className_(className), steps_(std::move(steps)) {
    thread_ = std::thread([this] { Run(); });
  }
  ~DialogWatcher() {
    if (thread_.joinable()) thread_.join();
  }
  DialogWatcher(const DialogWatcher&) = delete;
  DialogWatcher& operator=(const DialogWatcher&) = delete;

  void Join() {
    if (thread_.joinable()) thread_.join();
  }
  bool found() const { return found_; }

 private:
  void Run() {
    HWND dialog = nullptr;
    WaitFor([&] { return (dialog = FindThreadWindow(owner_, className_)) != nullptr; }, 20);
    if (!dialog) return;
    found_ = true;
    // Let the dialog finish its own start-up (the explorer dialog fills its list late).
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    steps_(dialog);
    if (!WaitFor([&] { return !IsWindow(dialog); }, 10)) {
      PressButton(dialog, IDCANCEL);
      WaitFor([&] { return !IsWindow(dialog); }, 5);
      if (IsWindow(dialog)) PostMessageA(dialog, WM_CLOSE, 0, 0);
    }
  }

  DWORD owner_;
  const char* className_;
  std::function<void(HWND)> steps_;
  std::atomic<bool> found_{false};
  std::thread thread_;
};
