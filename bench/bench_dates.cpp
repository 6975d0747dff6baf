// Prints: kxDaysBetweenEx over the whole calendar (1.1.0001 to 31.12.9999) through
// nbExecAction, which must stay far below a day-by-day walk, and the counting alone.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "host.h"
#include "pure/datetime.h"

namespace {
using Clock = std::chrono::steady_clock;
double Micros(Clock::duration d) { return std::chrono::duration<double, std::micro>(d).count(); }
}  // namespace

int main() {
  NbHost host(NbHost::DefaultPluginPath());
  // The locale's own text for both ends, as the plug-in writes it.
  host.Exec("kxEncodeDate", std::vector<std::string>{"1", "1", "1", "[First]"});
  host.Exec("kxEncodeDate", std::vector<std::string>{"9999", "12", "31", "[Last]"});
  const std::vector<std::string> params = {host.Value("First"), host.Value("Last"), "Days"};
  if (!host.Exec("kxDaysBetweenEx", params)) {
    std::printf("kxDaysBetweenEx failed: %s\n", host.Value("LastError").c_str());
    return 1;
  }
  // The stand-in logs every write; emptied now and then so the log's growth is not timed.
  constexpr int kCalls = 20000;
  auto start = Clock::now();
  for (int i = 0; i < kCalls; ++i) {
    host.Exec(95, params);
    if (i % 256 == 0) host.ClearLogs();
  }
  std::printf("kxDaysBetweenEx %s..%s through nbExecAction: %.3f us per call (Mondays: %s)\n",
              params[0].c_str(), params[1].c_str(), Micros(Clock::now() - start) / kCalls,
              host.Value("Days0").c_str());

  // The same dates for one result variable, to tell the seven host writes from the rest.
  const std::vector<std::string> pair = {params[0], params[1], "[Result]"};
  start = Clock::now();
  for (int i = 0; i < kCalls; ++i) {
    host.Exec(94, pair);
    if (i % 256 == 0) host.ClearLogs();
  }
  std::printf("kxDaysBetween over the same dates: %.3f us per call\n",
              Micros(Clock::now() - start) / kCalls);

  start = Clock::now();
  for (int i = 0; i < kCalls; ++i)
    for (int day = 0; day < 7; ++day) host.SetVar("Days" + std::to_string(day), "521723");
  std::printf("the stand-in host storing seven variables: %.3f us\n",
              Micros(Clock::now() - start) / kCalls);

  constexpr int kCounts = 1000000;
  volatile std::int64_t sink = 0;
  const std::int64_t last = DaysFromCivil(9999, 12, 31);
  start = Clock::now();
  for (int i = 0; i < kCounts; ++i) sink = sink + CountWeekdays(i % 7, last)[0];
  std::printf("CountWeekdays over the whole calendar: %.4f us\n",
              Micros(Clock::now() - start) / kCounts);
  return 0;
}
