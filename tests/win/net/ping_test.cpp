// kxIsHostAlive against loopback, names that fail without leaving the machine, and a silent
// host in a network namespace that the test makes and removes itself. Nothing else is pinged.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "core/failures.h"
#include "core/host_io.h"
#include "encoding.h"
#include "fixture.h"
#include "platform/resources.h"
#include "resources/resource.h"

namespace {

using PingTest = PluginTest;

// A label longer than 63 characters: the resolver refuses it before asking any server.
const std::string kUnresolvable = "zadode-" + std::string(70, 'q') + ".example";

TEST_F(PingTest, LoopbackAnswersQuickly) {
  host.SetVar("LastError", "before");
  ASSERT_TRUE(host.Exec("kxIsHostAlive", {"127.0.0.1", "1000", "[Result]"})) << LastError();
  const std::string result = Result();
  ASSERT_FALSE(result.empty());
  EXPECT_EQ(result.find_first_not_of("0123456789"), std::string::npos) << result;
  EXPECT_LT(std::stoi(result), 100) << result;
  EXPECT_EQ(LastError(), "before");
}

// Not an error of the action: "False" and the reason, but a true return.
TEST_F(PingTest, UnknownHostsAnswerFalse) {
  for (const std::string& name : {kUnresolvable, std::string(), std::string("  ")}) {
    EXPECT_TRUE(host.Exec("kxIsHostAlive", {name, "1000", "[Result]"})) << name;
    EXPECT_EQ(Result(), "False") << name;
    EXPECT_EQ(LastError(), FormatResString(IDS_UNKNOWN_HOST, {name})) << name;
    EXPECT_EQ(LastError(), Ansi(InEdition("Неизвестный хост \"", "Unknown host \"")) + name + "\".")
        << name;
  }
}

// A negative time-out waited about 49 days as an unsigned count; it is refused before any
// request goes out.
TEST_F(PingTest, TimeoutMustBeAWholeNumberAndNotNegative) {
  for (const std::string& timeout : {"1s", "", "1.5", " ", "-1", "-2147483648"}) {
    host.SetVar("Result", "before");
    EXPECT_FALSE(host.Exec("kxIsHostAlive", {"127.0.0.1", timeout, "[Result]"})) << timeout;
    EXPECT_EQ(Result(), "before") << timeout;
    EXPECT_EQ(LastError(), "Invalid \"kxIsHostAlive\" action arguments") << timeout;
  }
}

// Runs a shell script outside Wine. Wine cannot wait for a Unix process, so the script
// reports through a file under /tmp (Z:\tmp for this program) and the test polls for it.
bool RunUnixScript(const std::string& script) {
  static int counter = 0;
  const std::string name =
      "zadode_ping_" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(++counter);
  const std::string unixMark = "/tmp/" + name, windowsMark = "Z:\\tmp\\" + name;
  std::string command = "/bin/sh -c \"(" + script +
                        ") >/dev/null 2>&1 && r=ok || r=failed; echo $r > " + unixMark +
                        ".part && mv " + unixMark + ".part " + unixMark + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process))
    return false;
  if (process.hProcess) CloseHandle(process.hProcess);
  if (process.hThread) CloseHandle(process.hThread);
  for (int i = 0; i < 300; ++i) {
    if (GetFileAttributesA(windowsMark.c_str()) != INVALID_FILE_ATTRIBUTES) {
      const std::string answer = ReadFileBytes(windowsMark);
      DeleteFileA(windowsMark.c_str());
      return answer.rfind("ok", 0) == 0;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return false;
}

// A host in a namespace of its own, joined to this one by a veth pair with a /30 of its own.
// It ignores echo requests to its address, and routes a second address (sent to it by a /32
// route over the pair) nowhere, answering with "host unreachable". Needs root; the namespace,
// the pair and the route go away with the object.
class TestNetwork {
 public:
  TestNetwork() {
    const DWORD pid = GetCurrentProcessId();
    const unsigned id = pid % 16384;
    const std::string net = "10.254." + std::to_string(id / 64) + ".";
    const unsigned base = id % 64 * 4;
    silent_ = net + std::to_string(base + 2);
    unreachable_ = "10.253." + std::to_string(id / 64) + "." + std::to_string(base + 1);
    const std::string ns = "zadode_ping_" + std::to_string(pid);
    const std::string outer = "zdp" + std::to_string(pid) + "a";
    const std::string inner = "zdp" + std::to_string(pid) + "b";
    const std::string inNs = " && ip netns exec " + ns + " ";
    const std::string viaPair = " | grep -q 'dev " + outer + " '";
    teardown_ = "ip netns del " + ns + "; ip link del " + outer + "; true";
    // Each step only after the one before succeeded; the last two prove that both addresses
    // are reached through the pair and nowhere else before anything is sent to them.
    ready_ = RunUnixScript(
        "ip netns add " + ns + " && ip link add " + outer + " type veth peer name " + inner +
        " && ip link set " + inner + " netns " + ns + " && ip addr add " + net +
        std::to_string(base + 1) + "/30 dev " + outer + " && ip link set " + outer + " up" + inNs +
        "ip addr add " + silent_ + "/30 dev " + inner + inNs + "ip link set " + inner + " up" +
        inNs + "sysctl -qw net.ipv4.icmp_echo_ignore_all=1" + inNs +
        "sysctl -qw net.ipv4.ip_forward=1" + inNs + "ip route add unreachable " + unreachable_ +
        "/32 && ip route add " + unreachable_ + "/32 via " + silent_ + " dev " + outer +
        " && ip route get " + silent_ + viaPair + " && ip route get " + unreachable_ + viaPair);
    if (!ready_) RunUnixScript(teardown_);
  }
  ~TestNetwork() {
    if (ready_) RunUnixScript(teardown_);
  }
  bool ready() const { return ready_; }
  const std::string& silent() const { return silent_; }
  const std::string& unreachable() const { return unreachable_; }

 private:
  bool ready_ = false;
  std::string silent_, unreachable_, teardown_;
};

TEST_F(PingTest, AnswersFromTheTestNetwork) {
  const TestNetwork network;
  if (!network.ready())
    GTEST_SKIP() << "no network namespace for the test hosts (needs root and iproute2)";
  host.SetVar("LastError", "before");
  // An ICMP error instead of an echo reply is an answer, though not a round trip.
  EXPECT_TRUE(host.Exec("kxIsHostAlive", {network.unreachable(), "2000", "[Result]"}));
  EXPECT_EQ(Result(), "-1");
  EXPECT_EQ(LastError(), "before");

  const DWORD start = GetTickCount();
  EXPECT_TRUE(host.Exec("kxIsHostAlive", {network.silent(), "300", "[Result]"}));
  const DWORD waited = GetTickCount() - start;
  EXPECT_EQ(Result(), "False");
  EXPECT_EQ(LastError().rfind("System Error.  Code: 11010.\r\n", 0), 0u) << LastError();
  EXPECT_GE(waited, 250u);
}

}  // namespace
