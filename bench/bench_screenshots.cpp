// Prints: the time of kxScreenShot over the whole primary display and of kxHandleShot over a
// 640x480 publication window, with the share spent writing the file, and how far the
// process's peak memory grew over the screenshots. Run under xvfb-run (README).
#include <windows.h>
// psapi.h needs the types windows.h declares.
#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "host.h"

namespace {
using Clock = std::chrono::steady_clock;
double Millis(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

std::size_t PeakBytes() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  K32GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
  return counters.PeakWorkingSetSize;
}

double Run(NbHost& host, const std::string& action, const std::vector<std::string>& params,
           int times) {
  host.Exec(action, params);  // first call outside the figure
  const auto start = Clock::now();
  for (int i = 0; i < times; ++i) host.Exec(action, params);
  return Millis(Clock::now() - start) / times;
}

// Writing the same number of bytes through the same staged path, without capturing.
double WriteOnly(const std::string& path, std::size_t bytes, int times) {
  const std::string data(bytes, '\x5A');
  const auto start = Clock::now();
  for (int i = 0; i < times; ++i) {
    const std::string temporary = path + ".tmp";
    const HANDLE file = CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(file, data.data(), static_cast<DWORD>(data.size()), &written, nullptr);
    CloseHandle(file);
    MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
  }
  return Millis(Clock::now() - start) / times;
}

std::size_t FileBytes(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
  return data.nFileSizeLow;
}
}  // namespace

int main() {
  NbHost host(NbHost::DefaultPluginPath());
  const HWND window = host.OpenPublication("zaDode bench");
  char temp[MAX_PATH + 1] = {};
  GetTempPathA(MAX_PATH, temp);
  const std::string screen = std::string(temp) + "zadode_bench_screen.bmp";
  const std::string form = std::string(temp) + "zadode_bench_form.bmp";
  const std::size_t peakBefore = PeakBytes();

  constexpr int kTimes = 50;
  const double screenMs = Run(host, "kxScreenShot", {screen, ""}, kTimes);
  const double screenWrite = WriteOnly(screen + ".w", FileBytes(screen), kTimes);
  std::printf(
      "kxScreenShot %dx%d (%zu bytes): %.2f ms per shot, of which writing the file %.2f ms\n",
      GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), FileBytes(screen), screenMs,
      screenWrite);
  const double formMs = Run(host, "kxHandleShot", {form, host.Value("WinHandle"), ""}, kTimes * 4);
  const double formWrite = WriteOnly(form + ".w", FileBytes(form), kTimes * 4);
  RECT rect{};
  GetWindowRect(window, &rect);
  std::printf(
      "kxHandleShot %ldx%ld (%zu bytes): %.2f ms per shot, of which writing the file %.2f ms\n",
      rect.right - rect.left, rect.bottom - rect.top, FileBytes(form), formMs, formWrite);
  std::printf("peak working set grew by %.1f MB over the shots\n",
              static_cast<double>(PeakBytes() - peakBefore) / (1024.0 * 1024.0));
  for (const std::string& path : {screen, form, screen + ".w", form + ".w"})
    DeleteFileA(path.c_str());
  return 0;
}
