// Prints: the time of one kxWipeFile pass over a 256 MB file in the program's own folder (the
// build folder's disk, not a memory file system) against the floor, writing the same kind of
// bytes from a 1 MiB buffer with one flush, and against the naive pass that calls WriteFile
// once per 1025-byte pattern. Median and best of every pass over three rounds.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "host.h"
#include "inprocess.h"
#include "platform/seams.h"

namespace {
using Clock = std::chrono::steady_clock;
constexpr DWORD kFileBytes = 256u << 20;
constexpr int kPasses = 3;  // of the floor and the naive loop per round

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

std::string HereFile(const char* name) {
  char path[MAX_PATH * 2] = {};
  GetModuleFileNameA(nullptr, path, sizeof path - 1);
  std::string dir(path);
  return dir.substr(0, dir.find_last_of("\\/") + 1) + name;
}

HANDLE OpenExclusive(const std::string& path, DWORD disposition) {
  return CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, disposition, 0,
                     nullptr);
}

bool MakeFile(const std::string& path) {
  const HANDLE file = OpenExclusive(path, CREATE_ALWAYS);
  if (file == INVALID_HANDLE_VALUE) return false;
  std::vector<char> block(1u << 20, 'x');
  DWORD written = 0;
  bool ok = true;
  for (DWORD done = 0; ok && done < kFileBytes; done += written)
    ok = WriteFile(file, block.data(), static_cast<DWORD>(block.size()), &written, nullptr);
  ok = ok && FlushFileBuffers(file);
  CloseHandle(file);
  return ok;
}

// Seconds of each pass writing the whole file `chunk` bytes at a time, flushed once. The bytes
// are those of a wipe pass: a fresh pseudo-random 1025-byte pattern per pass, repeated (the
// chunk at file offset p starts at buffer offset p mod 1025). Constant or unchanged bytes
// would flatter the floor on storage that compresses or skips identical blocks.
void WritePasses(const std::string& path, std::size_t chunk, std::vector<double>& samples) {
  std::vector<char> buffer(chunk + 1024);
  static std::uint32_t state = 12345;
  const HANDLE file = OpenExclusive(path, OPEN_EXISTING);
  for (int pass = 0; pass < kPasses; ++pass) {
    const auto start = Clock::now();
    for (std::size_t i = 0; i < 1025; ++i)
      buffer[i] = static_cast<char>((state = state * 0x08088405u + 1) >> 24);
    for (std::size_t i = 1025; i < buffer.size(); ++i) buffer[i] = buffer[i - 1025];
    SetFilePointerEx(file, LARGE_INTEGER{}, nullptr, FILE_BEGIN);
    for (DWORD done = 0; done < kFileBytes;) {
      const DWORD size = static_cast<DWORD>(std::min<std::size_t>(kFileBytes - done, chunk));
      DWORD written = 0;
      WriteFile(file, buffer.data() + done % 1025, size, &written, nullptr);
      done += size;
    }
    FlushFileBuffers(file);
    samples.push_back(Seconds(Clock::now() - start));
  }
  CloseHandle(file);
}

// The plug-in's code is linked in, so the flush seam notes when each wipe pass ends.
std::vector<Clock::time_point> g_flushed;
BOOL WINAPI TimedFlush(HANDLE file) {
  const BOOL ok = FlushFileBuffers(file);
  g_flushed.push_back(Clock::now());
  return ok;
}

// kxWipeFile with 2 cycles (nine passes): the time between consecutive flushes is one pass
// alone; `whole` gets the action's time per pass with open, close and delete.
bool WipePasses(NbHost& host, const std::string& path, std::vector<double>& samples,
                std::vector<double>& whole) {
  g_flushed.clear();
  const auto start = Clock::now();
  const bool ok = host.Exec("kxWipeFile", std::vector<std::string>{path, "2", "[Wiped]"});
  const auto end = Clock::now();
  if (!ok || g_flushed.size() != 9) {
    std::printf("kxWipeFile failed: %s\n", host.Value("LastError").c_str());
    return false;
  }
  for (std::size_t i = 1; i < g_flushed.size(); ++i)
    samples.push_back(Seconds(g_flushed[i] - g_flushed[i - 1]));
  whole.push_back(Seconds(end - start) / 9);
  return true;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}
double Best(const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); }
}  // namespace

int main() {
  NbHost host(InProcessExports());
  Seams().flushFileBuffers = &TimedFlush;
  const std::string path = HereFile("bench_wipe.tmp");
  std::vector<double> floor, naive, wipe, whole;
  for (int round = 0; round < 3; ++round) {
    if (!MakeFile(path)) {
      std::printf("cannot write %s\n", path.c_str());
      return 1;
    }
    WritePasses(path, 1u << 20, floor);
    WritePasses(path, 1025, naive);
    if (!WipePasses(host, path, wipe, whole)) return 1;
  }
  DeleteFileA(path.c_str());
  if (getenv("BENCH_SAMPLES")) {
    for (double s : floor) std::printf("f %.3f ", s);
    for (double s : wipe) std::printf("w %.3f ", s);
    std::printf("\n");
  }
  const double floorMedian = Median(floor), wipeMedian = Median(wipe);
  std::printf("256 MB file in %s; seconds per pass, median (best)\n", path.c_str());
  std::printf("floor, 1 MiB writes and one flush: %.3f (%.3f), %.0f MB/s\n", floorMedian,
              Best(floor), 256 / floorMedian);
  std::printf("kxWipeFile pass:                   %.3f (%.3f), %.2fx the floor (best %.2fx)\n",
              wipeMedian, Best(wipe), wipeMedian / floorMedian, Best(wipe) / Best(floor));
  std::printf("kxWipeFile with open and delete:   %.3f, %.2fx the floor\n", Median(whole),
              Median(whole) / floorMedian);
  std::printf("naive, one WriteFile per 1025 B:   %.3f (%.3f); wipe/naive %.3f\n", Median(naive),
              Best(naive), wipeMedian / Median(naive));
  return 0;
}
