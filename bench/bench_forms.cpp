// Prints: how long the author waits for a property form or the about box, from the call of
// nbEditAction or nbAbout to the window's first paint (its own WM_PAINT handled) and to the
// end of the first burst of paints (its controls drawn), for the largest generic form, the
// two-column forms and the about box: the first run of the process, then median and best of
// the following runs. Run under xvfb-run (README).
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

#include "inprocess.h"

namespace {
using Clock = std::chrono::steady_clock;
double Millis(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// One run's clock, written on the window's thread and read by the watcher.
struct Run {
  Clock::time_point start;
  HWND window = nullptr;
  std::atomic<long long> firstPaint{0}, lastPaint{0};  // ns after start, 0: not yet
};
Run* current = nullptr;
std::unordered_map<HWND, WNDPROC> originals;

long long SinceStart() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now() - current->start)
      .count();
}

// Every window of the run passes its messages through here: a paint is timed once handled.
LRESULT CALLBACK Timed(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const WNDPROC original = originals[window];
  const LRESULT result = CallWindowProcW(original, window, message, wParam, lParam);
  if (message == WM_PAINT && current) {
    const long long at = SinceStart();
    if (window == current->window && current->firstPaint == 0) current->firstPaint = at;
    current->lastPaint = at;
  }
  if (message == WM_NCDESTROY) originals.erase(window);
  return result;
}

// The first top-level window created in the call is the one the author waits for; it and
// every window after it are timed.
LRESULT CALLBACK WatchCreation(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND && current) {
    const HWND window = reinterpret_cast<HWND>(wParam);
    const auto* create = reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs;
    if (!current->window && !(create->style & WS_CHILD)) current->window = window;
    if (current->window) {
      originals[window] = reinterpret_cast<WNDPROC>(
          SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Timed)));
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Shows the window through `show`; a second thread closes it once its paints have settled.
struct Figures {
  double first = 0, painted = 0;
};
template <typename Show>
Figures Measure(Show show) {
  Run run;
  current = &run;
  std::thread watcher([&run] {
    constexpr long long kSettled = 150'000'000;  // ns without a paint
    for (int i = 0; i < 500; ++i) {
      Sleep(10);
      const long long last = run.lastPaint;
      if (run.firstPaint && SinceStart() - last > kSettled) break;
    }
    if (run.window) PostMessageW(run.window, WM_COMMAND, IDCANCEL, 0);
  });
  run.start = Clock::now();
  show();
  watcher.join();
  current = nullptr;
  return {run.firstPaint / 1e6, run.lastPaint / 1e6};
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// Xvfb runs no window manager, and Wine waits two seconds for one at every closed window unless
// the program's windows are unmanaged, which Wine reads when the program starts: the first run
// says so in the prefix and starts the program again.
bool Unmanaged() {
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER,
                      L"Software\\Wine\\AppDefaults\\bench_forms.exe\\X11 Driver", 0, nullptr, 0,
                      KEY_READ | KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
    return true;
  wchar_t value[4] = {};
  DWORD bytes = sizeof value;
  const bool set = RegQueryValueExW(key, L"Managed", nullptr, nullptr,
                                    reinterpret_cast<BYTE*>(value), &bytes) == ERROR_SUCCESS &&
                   value[0] == L'N';
  if (!set) RegSetValueExW(key, L"Managed", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"N"), 4);
  RegCloseKey(key);
  return set;
}

int StartAgain() {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, GetCommandLineW(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process))
    return 1;
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD code = 1;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return static_cast<int>(code);
}
}  // namespace

int main(int argc, char** argv) {
  if (!Unmanaged()) return StartAgain();
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 21;
  NbHost host(InProcessExports());
  const HHOOK hook = SetWindowsHookExW(WH_CBT, &WatchCreation, nullptr, GetCurrentThreadId());
  struct Case {
    const char* label;
    int id;  // 0: the about box
  } cases[] = {
      {"9 kxMidStr (largest generic)", 9},
      {"42 kxOpenFileDialog (two columns)", 42},
      {"72 kxFileOperation (two columns)", 72},
      {"about box", 0},
  };
  std::printf("%-34s %22s %22s\n", "", "first paint, ms", "controls painted, ms");
  std::printf("%-34s %7s %7s %6s %7s %7s %6s\n", "window", "1st run", "median", "best", "1st run",
              "median", "best");
  for (const Case& c : cases) {
    std::vector<double> first, painted;
    Figures cold;
    for (int i = 0; i <= runs; ++i) {
      std::vector<char*> slots(9, nullptr);
      const Figures figures = Measure([&] {
        if (c.id)
          nbEditAction(c.id, slots.data(), static_cast<int>(slots.size()) - 1);
        else
          nbAbout();
      });
      if (i == 0) {
        cold = figures;
        continue;
      }
      first.push_back(figures.first);
      painted.push_back(figures.painted);
    }
    std::printf("%-34s %7.1f %7.1f %6.1f %7.1f %7.1f %6.1f\n", c.label, cold.first, Median(first),
                *std::min_element(first.begin(), first.end()), cold.painted, Median(painted),
                *std::min_element(painted.begin(), painted.end()));
  }
  UnhookWindowsHookEx(hook);
  return 0;
}
