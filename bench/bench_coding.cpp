// Prints: the Base64 and URL coders against byte-at-a-time references written here, against
// memcpy, and under Windows against crypt32's Base64; then kxBase64EncodeFile and
// kxBase64DecodeFile on a 64 MiB file against a plain ReadFile/WriteFile copy, with the peak
// memory of the encode. Builds natively too (coders only).
#ifdef _WIN32
#include <windows.h>
// psapi.h and wincrypt.h need the types windows.h declares.
#include <psapi.h>
#include <wincrypt.h>

#include "actions/actions.h"
#include "host.h"
#endif

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "pure/base64.h"
#include "pure/url_coding.h"

namespace {

using Clock = std::chrono::steady_clock;

// Seconds per call: the best of several rounds, each repeating `work` for at least 20 ms.
// The machine is shared, so the two sides of a ratio are timed in alternating rounds and
// each keeps its best.
double TimeRound(const std::function<void()>& work) {
  int calls = 0;
  const auto start = Clock::now();
  double elapsed = 0;
  do {
    work();
    ++calls;
    elapsed = std::chrono::duration<double>(Clock::now() - start).count();
  } while (elapsed < 0.02);
  return elapsed / calls;
}

struct Pair {
  double ours, other;
  double ratio() const { return other / ours; }
};
Pair TimePair(const std::function<void()>& ours, const std::function<void()>& other) {
  Pair best{1e30, 1e30};
  for (int round = 0; round < 7; ++round) {
    best.ours = std::min(best.ours, TimeRound(ours));
    best.other = std::min(best.other, TimeRound(other));
  }
  return best;
}

std::string RandomBytes(std::size_t size) {
  std::mt19937 generator(42);
  std::string bytes(size, '\0');
  for (auto& b : bytes) b = static_cast<char>(generator() & 0xFF);
  return bytes;
}

// The textbook coders: one byte or character per step, a branch for every decision. Like
// the coders under test they write into a buffer that is ready, so only coding is timed.
std::size_t ReferenceEncode(const std::string& bytes, char* out) {
  static const char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  char* const start = out;
  unsigned bits = 0;
  int count = 0;
  for (const char c : bytes) {
    bits = bits << 8 | static_cast<unsigned char>(c);
    count += 8;
    while (count >= 6) {
      count -= 6;
      *out++ = alphabet[(bits >> count) & 63];
    }
  }
  if (count > 0) *out++ = alphabet[(bits << (6 - count)) & 63];
  while ((out - start) % 4) *out++ = '=';
  return static_cast<std::size_t>(out - start);
}

std::size_t ReferenceDecode(const std::string& text, char* out) {
  char* const start = out;
  unsigned bits = 0;
  int count = 0;
  for (const char c : text) {
    int v;
    if (c >= 'A' && c <= 'Z')
      v = c - 'A';
    else if (c >= 'a' && c <= 'z')
      v = c - 'a' + 26;
    else if (c >= '0' && c <= '9')
      v = c - '0' + 52;
    else if (c == '+')
      v = 62;
    else if (c == '/')
      v = 63;
    else if (c == '=')
      break;
    else
      continue;
    bits = bits << 6 | static_cast<unsigned>(v);
    count += 6;
    if (count >= 8) {
      count -= 8;
      *out++ = static_cast<char>((bits >> count) & 0xFF);
    }
  }
  return static_cast<std::size_t>(out - start);
}

std::string ReferenceUrlEncode(const std::string& text) {
  std::string out;
  for (const char ch : text) {
    const unsigned char c = static_cast<unsigned char>(ch);
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
        c == '.' || c == '_') {
      out += ch;
    } else {
      char escape[4];
      std::snprintf(escape, sizeof escape, "%%%02X", c);
      out += escape;
    }
  }
  return out;
}

std::string ReferenceUrlDecode(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') {
      out += text[i];
      continue;
    }
    unsigned value = 0;
    if (i + 1 >= text.size() || std::sscanf(text.substr(i + 1, 2).c_str(), "%2x", &value) != 1)
      return {};
    out += static_cast<char>(value);
    i += 2;
  }
  return out;
}

volatile std::size_t sink = 0;

void BenchBase64() {
  std::printf("Base64 (times per call; ratios: reference/ours, so above 1 means faster)\n");
  for (const std::size_t size :
       {std::size_t{1} << 10, std::size_t{64} << 10, std::size_t{1} << 20, std::size_t{64} << 20}) {
    const std::string bytes = RandomBytes(size);
    const std::string text = Base64Encode(bytes);
    std::string encoded(text.size(), '\0'), decoded(size, '\0');
    const bool agree = ReferenceEncode(bytes, encoded.data()) == text.size() && encoded == text &&
                       ReferenceDecode(text, decoded.data()) == size && decoded == bytes &&
                       Base64Decode(text) == bytes;
    if (!agree) {
      std::printf("coders disagree at %zu bytes\n", size);
      return;
    }
    const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
    auto* out = reinterpret_cast<unsigned char*>(decoded.data());
    const auto encode = [&] {
      Base64EncodeTo(in, size, encoded.data());
      sink = sink + static_cast<unsigned char>(encoded[size / 2]);
    };
    const auto decode = [&] {
      Base64Decoder decoder;
      sink = sink + decoder.Decode(text.data(), text.size(), out);
    };
    const Pair refEncode =
        TimePair(encode, [&] { sink = sink + ReferenceEncode(bytes, encoded.data()); });
    const Pair refDecode =
        TimePair(decode, [&] { sink = sink + ReferenceDecode(text, decoded.data()); });
    const Pair copying = TimePair(encode, [&] {
      std::memcpy(decoded.data(), bytes.data(), size);
      sink = sink + static_cast<unsigned char>(decoded[size / 2]);
    });
    std::printf("  %8zu KiB: encode %.3f ms (%.0f MB/s), decode %.3f ms (%.0f MB/s)\n", size >> 10,
                refEncode.ours * 1e3, size / refEncode.ours / 1e6, refDecode.ours * 1e3,
                size / refDecode.ours / 1e6);
    std::printf("    vs byte-at-a-time: encode %.2fx (target 2.5x), decode %.2fx (target 1.5x)\n",
                refEncode.ratio(), refDecode.ratio());
    std::printf("    vs memcpy of the bytes: encode %.2fx (target 0.15x)\n", copying.ratio());
#ifdef _WIN32
    using ToString = BOOL(WINAPI*)(const BYTE*, DWORD, DWORD, LPSTR, DWORD*);
    using ToBinary = BOOL(WINAPI*)(LPCSTR, DWORD, DWORD, BYTE*, DWORD*, DWORD*, DWORD*);
    static const HMODULE crypt32 = LoadLibraryA("crypt32.dll");
    const auto toString = reinterpret_cast<ToString>(
        reinterpret_cast<void*>(GetProcAddress(crypt32, "CryptBinaryToStringA")));
    const auto toBinary = reinterpret_cast<ToBinary>(
        reinterpret_cast<void*>(GetProcAddress(crypt32, "CryptStringToBinaryA")));
    if (toString && toBinary) {
      std::string cryptText(text.size() + 16, '\0');
      std::string cryptBytes(size + 16, '\0');
      const DWORD kFlags = CRYPT_STRING_BASE64 | CRYPT_STRING_NOCRLF;
      const Pair cryptEncode = TimePair(encode, [&] {
        DWORD length = static_cast<DWORD>(cryptText.size());
        toString(reinterpret_cast<const BYTE*>(bytes.data()), static_cast<DWORD>(size), kFlags,
                 cryptText.data(), &length);
        sink = sink + length;
      });
      // The decoder refuses CRYPT_STRING_NOCRLF; plain CRYPT_STRING_BASE64 reads one line.
      const Pair cryptDecode = TimePair(decode, [&] {
        DWORD length = static_cast<DWORD>(cryptBytes.size());
        toBinary(text.data(), static_cast<DWORD>(text.size()), CRYPT_STRING_BASE64,
                 reinterpret_cast<BYTE*>(cryptBytes.data()), &length, nullptr, nullptr);
        sink = sink + length;
      });
      std::printf("    vs crypt32: encode %.2fx, decode %.2fx (target 3x both)\n",
                  cryptEncode.ratio(), cryptDecode.ratio());
    }
#endif
  }
}

void BenchUrl() {
  std::printf("URL coding against append-and-snprintf references\n");
  std::string clean;
  while (clean.size() < 1024) clean += "Hello-World_0123.abcXYZ";
  clean.resize(1024);
  std::string escapes(1024, '\0');
  for (std::size_t i = 0; i < escapes.size(); ++i) escapes[i] = static_cast<char>(0x80 + i % 128);
  std::string mixed;  // one escape in five characters
  for (int i = 0; mixed.size() < 1024; ++i) mixed += (i % 5 == 4) ? "%C3" : "a";
  if (UrlEncode(clean) != ReferenceUrlEncode(clean) ||
      UrlEncode(escapes) != ReferenceUrlEncode(escapes) ||
      UrlDecode(mixed) != ReferenceUrlDecode(mixed)) {
    std::printf("URL coders disagree\n");
    return;
  }
  const Pair cleanEncode = TimePair([&] { sink = sink + UrlEncode(clean).size(); },
                                    [&] { sink = sink + ReferenceUrlEncode(clean).size(); });
  const Pair escapeEncode = TimePair([&] { sink = sink + UrlEncode(escapes).size(); },
                                     [&] { sink = sink + ReferenceUrlEncode(escapes).size(); });
  const Pair mixedDecode = TimePair([&] { sink = sink + UrlDecode(mixed).size(); },
                                    [&] { sink = sink + ReferenceUrlDecode(mixed).size(); });
  std::printf("  encode clean 1 KiB: %.2f us, %.1fx (target 5x)\n", cleanEncode.ours * 1e6,
              cleanEncode.ratio());
  std::printf("  encode 1 KiB all escapes: %.2f us, %.1fx (target 3x)\n", escapeEncode.ours * 1e6,
              escapeEncode.ratio());
  std::printf("  decode 1 KiB, 20%% escapes: %.2f us, %.1fx (target 2x)\n", mixedDecode.ours * 1e6,
              mixedDecode.ratio());
}

#ifdef _WIN32
std::string ReadAll(const std::string& path) {
  std::string bytes;
  HANDLE file =
      CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  LARGE_INTEGER size{};
  if (file == INVALID_HANDLE_VALUE) return bytes;
  GetFileSizeEx(file, &size);
  bytes.resize(static_cast<std::size_t>(size.QuadPart));
  DWORD read = 0;
  ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
  CloseHandle(file);
  return bytes;
}

// A plain copy through the same calls and a 192 KiB buffer: the floor for a file pass.
double CopyFile(const std::string& from, const std::string& to) {
  const auto start = Clock::now();
  HANDLE in = CreateFileA(from.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                          FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  HANDLE out = CreateFileA(to.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  std::vector<char> buffer(3 * 64 * 1024);
  DWORD read = 0, written = 0;
  while (ReadFile(in, buffer.data(), static_cast<DWORD>(buffer.size()), &read, nullptr) && read)
    WriteFile(out, buffer.data(), read, &written, nullptr);
  CloseHandle(in);
  CloseHandle(out);
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// Wine keeps no true peak of private bytes; the peak working set is one.
PROCESS_MEMORY_COUNTERS MemoryCounters() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
  return counters;
}

// What any encoder that hands back a fresh text pays before coding a byte: new memory of the
// text's size, touched once. Under Wine each fresh page costs several microseconds.
double FreshMemory(std::size_t size) {
  const auto start = Clock::now();
  auto* block = static_cast<volatile char*>(
      VirtualAlloc(nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
  for (std::size_t at = 0; at < size; at += 4096) block[at] = 1;
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  VirtualFree(const_cast<char*>(block), 0, MEM_RELEASE);
  return seconds;
}

// The run routines are called directly, with no host registered in this copy of the plug-in's
// code: the result is built but goes nowhere, so the time and the memory are the plug-in's
// own. The same actions through nbhost follow, with the stand-in's callback time apart.
void BenchFiles() {
  char temp[MAX_PATH + 1] = {};
  GetTempPathA(MAX_PATH, temp);
  const std::string source = std::string(temp) + "zadode_bench_coding.bin";
  const std::string target = std::string(temp) + "zadode_bench_coding.out";
  const std::size_t size = std::size_t{64} << 20;
  {
    // Written in pieces, so making the file does not raise the peak measured below.
    const std::string piece = RandomBytes(std::size_t{1} << 20);
    HANDLE file = CreateFileA(source.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    for (std::size_t at = 0; at < size; at += piece.size())
      WriteFile(file, piece.data(), static_cast<DWORD>(piece.size()), &written, nullptr);
    CloseHandle(file);
  }
  double copy = 1e30;
  for (int i = 0; i < 3; ++i) copy = std::min(copy, CopyFile(source, target));

  const char* encodeParams[] = {source.c_str(), "[Text]"};
  const std::size_t before = MemoryCounters().WorkingSetSize;
  double encode = 1e30;
  for (int i = 0; i < 3; ++i) {
    const auto start = Clock::now();
    RunBase64EncodeFile({*FindAction(87), encodeParams});
    encode = std::min(encode, std::chrono::duration<double>(Clock::now() - start).count());
  }
  const double peak = (MemoryCounters().PeakWorkingSetSize - before) / 1048576.0;
  double fresh = 1e30;
  for (int i = 0; i < 3; ++i) fresh = std::min(fresh, FreshMemory(Base64EncodedSize(size)));
  const double textMiB = Base64EncodedSize(size) / 1048576.0;

  NbHost host(NbHost::DefaultPluginPath());
  host.callbackSeconds = 0;
  auto start = Clock::now();
  host.Exec("kxBase64EncodeFile", std::vector<std::string>{source, "[Text]"});
  const double hostEncode = std::chrono::duration<double>(Clock::now() - start).count();
  const double hostEncodeCallbacks = host.callbackSeconds;
  host.ClearLogs();
  const std::string text = host.Value("Text");

  const char* decodeParams[] = {text.c_str(), target.c_str(), "[Done]"};
  double decode = 1e30;
  for (int i = 0; i < 3; ++i) {
    start = Clock::now();
    RunBase64DecodeFile({*FindAction(88), decodeParams});
    decode = std::min(decode, std::chrono::duration<double>(Clock::now() - start).count());
  }
  const bool same = ReadAll(target) == ReadAll(source);

  std::printf("Files of 64 MiB\n");
  std::printf("  ReadFile/WriteFile copy %.0f ms\n", copy * 1e3);
  std::printf("  kxBase64EncodeFile %.0f ms: %.2fx the copy's speed (target 0.5x)\n", encode * 1e3,
              copy / encode);
  std::printf(
      "    of which fresh memory for the text, touched once: %.0f ms; the rest %.0f ms is "
      "%.2fx the copy's speed\n",
      fresh * 1e3, (encode - fresh) * 1e3, copy / (encode - fresh));
  std::printf("  kxBase64DecodeFile %.0f ms: %.2fx the copy's speed; file %s\n", decode * 1e3,
              copy / decode, same ? "identical" : "DIFFERENT");
  std::printf(
      "  peak working set of the encode: %.1f MiB above the start, for a %.1f MiB text "
      "(%.1f MiB besides the text)\n",
      peak, textMiB, peak - textMiB);
  std::printf(
      "  through nbhost: kxBase64EncodeFile %.0f ms, of which %.0f ms in the stand-in's "
      "callback (it copies the text into its log and its variable)\n",
      hostEncode * 1e3, hostEncodeCallbacks * 1e3);
  DeleteFileA(source.c_str());
  DeleteFileA(target.c_str());
}
#endif

}  // namespace

int main() {
#ifdef _WIN32
  BenchFiles();
#endif
  BenchUrl();
  BenchBase64();
  return 0;
}
