// kxIsHostAlive: one ICMP echo request through the IP Helper functions, IPv4 only. Only a
// timeout that is not a number fails the action; everything that goes wrong with the
// attempt itself is an answer for the script ("False" with the reason in LastError).
#include <windows.h>
// The socket and IP Helper headers build on windows.h (lean, so no winsock.h clash).
#include <winsock2.h>
// iphlpapi.h declares the types icmpapi.h uses.
#include <iphlpapi.h>
// The echo functions come after the types they take.
#include <icmpapi.h>

#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "actions/actions.h"
#include "core/failures.h"
#include "core/host_io.h"
#include "platform/raii.h"
#include "platform/resources.h"
#include "pure/text.h"
#include "resources/resource.h"

namespace {

constexpr char kPayload[] = "pingpongpingpongpingpongpingpong";
constexpr WORD kPayloadSize = sizeof kPayload - 1;  // no terminating zero on the wire

class WinsockSession {
 public:
  WinsockSession() {
    WSADATA data{};
    started_ = WSAStartup(MAKEWORD(2, 0), &data) == 0;
  }
  WinsockSession(const WinsockSession&) = delete;
  WinsockSession& operator=(const WinsockSession&) = delete;
  ~WinsockSession() {
    if (started_) WSACleanup();
  }
  explicit operator bool() const { return started_; }

 private:
  bool started_ = false;
};

inline void IcmpCloseFn(HANDLE h) { IcmpCloseHandle(h); }
using IcmpHandle = UniqueResource<HANDLE, nullptr, IcmpCloseFn>;

// A dotted address as it is, else the first IPv4 address of the name. A blank host is no
// host: the resolver would answer it with this computer's own addresses.
std::optional<IPAddr> Resolve(const std::string& host) {
  if (IsBlank(host)) return std::nullopt;
  const unsigned long dotted = inet_addr(host.c_str());
  if (dotted != INADDR_NONE) return dotted;
  const hostent* entry = gethostbyname(host.c_str());
  if (!entry || entry->h_addrtype != AF_INET || entry->h_length != sizeof(IPAddr) ||
      !entry->h_addr_list || !entry->h_addr_list[0])
    return std::nullopt;
  IPAddr address = 0;
  std::memcpy(&address, entry->h_addr_list[0], sizeof address);
  return address;
}

std::string OsErrorText(DWORD code) {
  if (code == 0) return LoadResString(IDS_OS_ERROR_UNKNOWN);
  return FillPercentS(ReplaceAll(LoadResString(IDS_OS_ERROR), "%d", std::to_string(code)),
                      {SystemErrorText(code)});
}

struct Attempt {
  std::string result;  // the round-trip time or "-1"
  std::optional<std::string> error;
};

// Every handle and the socket library are released before the caller writes the outcome.
Attempt Ping(const std::string& host, DWORD timeout) {
  const WinsockSession session;
  if (!session) return {{}, LoadResString(IDS_WINSOCK_STARTUP_ERROR)};
  const std::optional<IPAddr> address = Resolve(host);
  if (!address) return {{}, FormatResString(IDS_UNKNOWN_HOST, {host})};

  const HANDLE raw = IcmpCreateFile();
  if (raw == INVALID_HANDLE_VALUE || raw == nullptr) return {"-1", std::nullopt};
  const IcmpHandle icmp(raw);
  IP_OPTION_INFORMATION options{};
  options.Ttl = 255;
  options.Tos = 1;
  // One reply record, the echoed payload and room for an ICMP error message, as the reply
  // record's size differs between the 32- and 64-bit builds.
  std::vector<unsigned char> reply(sizeof(ICMP_ECHO_REPLY) + kPayloadSize + 8);
  const DWORD replies =
      IcmpSendEcho(icmp.get(), *address, const_cast<char*>(kPayload), kPayloadSize, &options,
                   reply.data(), static_cast<DWORD>(reply.size()), timeout);
  if (replies == 0) return {{}, OsErrorText(GetLastError())};
  ICMP_ECHO_REPLY echo{};
  std::memcpy(&echo, reply.data(), sizeof echo);
  if (echo.Status != IP_SUCCESS) return {"-1", std::nullopt};
  return {std::to_string(echo.RoundTripTime), std::nullopt};
}

}  // namespace

// kxIsHostAlive: the round-trip time in milliseconds, "-1" when the host answered with
// anything but an echo reply or no ICMP handle could be had, "False" when no answer came. A
// time-out that is not a whole number of 0 or more is an argument error, refused before any
// request goes out.
bool RunIsHostAlive(const ActionCall& call) {
  const std::string host = call.Param(0), variable = call.Param(2);
  const std::optional<std::int32_t> timeout = ParseInteger(call.Param(1));
  // A negative count would wait about 49 days as an unsigned one.
  if (!timeout || *timeout < 0) {
    SetLastErrorVariable(InvalidArgumentsText(call));
    return false;
  }
  const Attempt attempt = Ping(host, static_cast<DWORD>(*timeout));
  if (attempt.error) {
    ReportFailure(variable, *attempt.error);
    return true;
  }
  SetResultVariable(variable, attempt.result);
  return true;
}
