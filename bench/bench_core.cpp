// Prints: the time to load the plug-in and register its catalogue, one nbExecAction round
// trip against a direct call of the same text rule, and the size of the shipped i686 .nbp.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "host.h"
#include "pure/text.h"

namespace {
using Clock = std::chrono::steady_clock;
double Micros(Clock::duration d) { return std::chrono::duration<double, std::micro>(d).count(); }
}  // namespace

int main(int argc, char** argv) {
  const std::string plugin = NbHost::DefaultPluginPath();
  constexpr int kLoads = 50;
  auto start = Clock::now();
  for (int i = 0; i < kLoads; ++i) NbHost host(plugin);
  std::printf("load + register (107 rows): %.1f us per load (%d loads)\n",
              Micros(Clock::now() - start) / kLoads, kLoads);

  NbHost host(plugin);
  constexpr int kCalls = 100000;
  const std::vector<std::string> params = {"  some text to trim\t", "[Result]"};
  start = Clock::now();
  for (int i = 0; i < kCalls; ++i) host.Exec(10, params);
  const double roundTrip = Micros(Clock::now() - start) / kCalls;
  start = Clock::now();
  volatile size_t sink = 0;
  for (int i = 0; i < kCalls; ++i) sink = sink + std::string(TrimView(params[0])).size();
  const double direct = Micros(Clock::now() - start) / kCalls;
  std::printf("kxTrimStr through nbExecAction: %.3f us; direct TrimView: %.3f us\n", roundTrip,
              direct);

  const std::string shipped = argc > 1 ? argv[1] : "../win32/zaDode.nbp";
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (GetFileAttributesExA(shipped.c_str(), GetFileExInfoStandard, &data))
    std::printf("i686 zaDode.nbp: %lu bytes\n", static_cast<unsigned long>(data.nFileSizeLow));
  else
    std::printf("i686 zaDode.nbp not found at %s\n", shipped.c_str());
  return 0;
}
