#include "inputs.h"

#include <windows.h>
// windows.h first.
#include <tlhelp32.h>

#include <iterator>

#include "pure/text.h"

namespace fuzz {
namespace {

constexpr size_t kMegabyte = 1 << 20;

template <size_t N>
const char* Pick(std::mt19937_64& rng, const char* const (&list)[N]) {
  return list[rng() % N];
}

// Fragments that have broken text handling before: format and script syntax, separators,
// wildcards, the host's quote escape, control bytes, and double-byte sequences that are
// whole, cut short at the end, or followed by a byte that cannot end them.
const char* const kFragments[] = {"%",
                                  "%s",
                                  "%d%n%x",
                                  "\"",
                                  "\"\"",
                                  "'",
                                  "|",
                                  "||",
                                  "*",
                                  ",",
                                  "[#34]",
                                  "[#13][#10]",
                                  "[",
                                  "]",
                                  "[Result]",
                                  "[#",
                                  "\r\n",
                                  "\n",
                                  "\r",
                                  "\t",
                                  " ",
                                  "   ",
                                  "\x01",
                                  "\x1f",
                                  "\x7f",
                                  "\xa0",
                                  "\xff",
                                  "\x81",
                                  "\x82\xa0",
                                  "\x81\x40",
                                  "\x82",
                                  "\x81\x0a",
                                  "\xe0\x7f",
                                  "\x8e",
                                  "\xd0\x9f\xd1\x80",
                                  "\xc3",
                                  "\xef\xbb\xbf",
                                  "..",
                                  "\\",
                                  "/",
                                  ":",
                                  "?",
                                  "<>",
                                  "$",
                                  "0x",
                                  "-",
                                  "+",
                                  "M",
                                  "MCMXCIV",
                                  "iv",
                                  "abc",
                                  "ABC",
                                  "Z",
                                  "\xc0\xe1\xe2",
                                  "\xcf\xf0\xe8",
                                  "True",
                                  "False",
                                  "=",
                                  "kxShutdown",
                                  "SetVar",
                                  "\\\\.\\",
                                  "CON",
                                  "NUL"};

const char* const kNumbers[] = {"0",
                                "1",
                                "-1",
                                "2",
                                "7",
                                "10",
                                "255",
                                "256",
                                "300",
                                "1000",
                                "3999",
                                "4000",
                                "9999",
                                "10000",
                                "65535",
                                "65536",
                                "2147483647",
                                "2147483648",
                                "-2147483648",
                                "-2147483649",
                                "4294967295",
                                "4294967296",
                                "99999999999999999999",
                                "$0",
                                "$FF",
                                "$7FFFFFFF",
                                "$80000000",
                                "$FFFFFFFF",
                                "$100000000",
                                "0x7fffffff",
                                "0x80000000",
                                "0XFFFFFFFF",
                                "x1F",
                                "X10",
                                "-$1",
                                "+$1",
                                "-0x80000000",
                                " 12",
                                "   -7",
                                "12 ",
                                "\t12",
                                "+5",
                                "- 5",
                                "1.5",
                                "1e3",
                                "$",
                                "0x",
                                "x",
                                "",
                                "+",
                                "-",
                                "--1",
                                "00000000000000000000000001",
                                "0x000000001",
                                "$G",
                                "\xef\xbc\x91",
                                "1,000",
                                "١"};

const char* const kVariables[] = {"[Result]", "Result", "[R2]",       "Arr",         "[Arr]",
                                  "",         "   ",    " [Result] ", "[LastError]", "[]",
                                  "[#34]",    "a,b",    "x|y"};

const char* const kDevices[] = {"CON",
                                "NUL",
                                "AUX",
                                "PRN",
                                "COM1",
                                "LPT1",
                                "CONIN$",
                                "CONOUT$",
                                "\\\\.\\PhysicalDrive0",
                                "\\\\.\\C:",
                                "\\\\.\\NUL",
                                "NUL.txt",
                                "con.",
                                "\\\\?\\GLOBALROOT\\Device\\Null"};

const char* const kKeywords[] = {"EWX_FORCE",
                                 "EWX_FORCEIFHUNG",
                                 "cdFullOpen",
                                 "cdPreventFullOpen",
                                 "cdShowHelp",
                                 "cdSolidColor",
                                 "cdAnyColor",
                                 "ofAllowMultiSelect",
                                 "ofOverwritePrompt",
                                 "ofFileMustExist",
                                 "ofPathMustExist",
                                 "ofHideReadOnly",
                                 "ofNoChangeDir",
                                 "ofCreatePrompt",
                                 "ofShowHelp",
                                 "ofEnableSizing",
                                 "FO_MOVE",
                                 "FO_COPY",
                                 "FO_DELETE",
                                 "FO_RENAME",
                                 "FOF_ALLOWUNDO",
                                 "FOF_NOCONFIRMATION",
                                 "FOF_SILENT",
                                 "FOF_MULTIDESTFILES",
                                 "FOF_NOCONFIRMMKDIR",
                                 "FOF_NOERRORUI",
                                 "FOF_FILESONLY",
                                 "FOF_RENAMEONCOLLISION",
                                 "FOF_SIMPLEPROGRESS",
                                 "FOF_WANTMAPPINGHANDLE",
                                 "FOF_NORECURSION",
                                 "DRIVE_ALL",
                                 "DRIVE_REMOVABLE",
                                 "DRIVE_FIXED",
                                 "DRIVE_REMOTE",
                                 "DRIVE_CDROM",
                                 "DRIVE_RAMDISK",
                                 "DRIVE_UNKNOWN",
                                 "Text (*.txt)|*.txt|All|*.*",
                                 "|",
                                 "a|",
                                 "|*.*|",
                                 "*.bmp;*.jpg"};

const char* const kScriptLines[] = {"SetVar \"[A]\" \"1\"",
                                    "SetVar [B] \"x\"",
                                    "ClearVariables \"A\"",
                                    "DefineVar \"A\"",
                                    "kxShutdown \"EWX_FORCE\" \"[R]\"",
                                    "kxKillProgram \"explorer.exe\" \"[R]\"",
                                    "SaveVariables \"C:\\x.txt\"",
                                    ". comment",
                                    "SetVar \"[A]\"",
                                    "\"",
                                    "kxExecAction \"x\"",
                                    "Unknown",
                                    ""};

// A label longer than 63 characters: no resolver sends a query for it.
const std::string kLongLabel(64, 'q');

}  // namespace

InputMaker::InputMaker(const Sandbox& sandbox, HWND ownWindow, std::string dateSeparator)
    : sandbox_(sandbox), ownWindow_(ownWindow), dateSeparator_(std::move(dateSeparator)) {
  std::mt19937_64 fill(1);
  huge_.push_back(std::string(kMegabyte, 'A'));
  huge_.push_back(std::string(kMegabyte, '%'));
  huge_.push_back(std::string(kMegabyte, '"'));
  std::string random(kMegabyte, '\0');
  for (char& c : random) c = static_cast<char>(1 + fill() % 255);
  huge_.push_back(random);
  std::string quotes;
  while (quotes.size() < kMegabyte) quotes += "[#34]|*,\x82\xa0";
  huge_.push_back(quotes);
  std::string digits(kMegabyte, '9');
  huge_.push_back(digits);
  std::string lead(kMegabyte, '\x81');  // lead bytes only: every pair is cut or invalid
  huge_.push_back(lead);

  // What runs now; kxKillProgram is only ever given names that are none of these.
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot != INVALID_HANDLE_VALUE) {
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
      runningPrograms_.emplace_back(entry.szExeFile);
    CloseHandle(snapshot);
  }
}

std::string InputMaker::Piece() {
  switch (Below(10)) {
    case 0:
    case 1:
    case 2:
      return Pick(rng_, kFragments);
    case 3: {
      std::string bytes(1 + Below(24), '\0');
      for (char& c : bytes) c = static_cast<char>(1 + Below(255));
      return bytes;
    }
    case 4:
      return Pick(rng_, kNumbers);
    case 5: {
      std::string repeated;
      const std::string unit = Pick(rng_, kFragments);
      for (uint64_t i = 1 + Below(300); i > 0; --i) repeated += unit;
      return repeated;
    }
    case 6:
      return std::string(1 + Below(8), static_cast<char>('a' + Below(26)));
    default: {
      std::string word;
      for (uint64_t i = 1 + Below(12); i > 0; --i)
        word.push_back("abcXYZ019 .-_\xe0\xc0"[Below(16)]);
      return word;
    }
  }
}

std::string InputMaker::Text() {
  switch (Below(40)) {
    case 0:
      return huge_[Below(huge_.size())];
    case 1:
    case 2:
      return "";
    default: {
      std::string text;
      for (uint64_t i = 1 + Below(4); i > 0; --i) text += Piece();
      return text;
    }
  }
}

std::string InputMaker::Number() {
  if (OneIn(4)) return Text();
  if (OneIn(3)) return std::to_string(static_cast<int32_t>(rng_()) >> Below(32));
  return Pick(rng_, kNumbers);
}

std::string InputMaker::Variable() {
  if (OneIn(20)) return Text();
  if (OneIn(500)) return huge_[0];
  return Pick(rng_, kVariables);
}

std::string InputMaker::Names() {
  static const char* const kNames[] = {"A",   "B", "Arr",    "Arr*",      "*",    "A*", "a",
                                       " A ", "",  "Result", "LastError", "Pub*", "Z",  "\xc0*"};
  static const char* const kSeparators[] = {",", "|", ", ", " | ", ",,", ""};
  if (OneIn(8)) return Text();
  std::string list;
  for (uint64_t i = 1 + Below(5); i > 0; --i) {
    list += Pick(rng_, kNames);
    if (i > 1) list += Pick(rng_, kSeparators);
  }
  return list;
}

std::string InputMaker::ReadPath() {
  const std::string& root = sandbox_.root;
  switch (Below(16)) {
    case 0:
    case 1:
    case 2:
      return sandbox_.files[Below(sandbox_.files.size())];
    case 3:
      return sandbox_.folders[Below(sandbox_.folders.size())] + (OneIn(2) ? "\\" : "");
    case 4:
      return Pick(rng_, kDevices);
    case 5:  // relative to the current folder, which is the sandbox
      return OneIn(2) ? "a.txt" : "..\\" + root.substr(root.find_last_of('\\') + 1) + "\\a.txt";
    case 6:  // too long for MAX_PATH, and for any path
      return root + "\\" + std::string(OneIn(2) ? 300 : 40000, 'p') + ".txt";
    case 7:  // UNC shapes, whose servers are loopback or fail locally
      switch (Below(4)) {
        case 0:
          return "\\\\" + kLongLabel + "\\share\\a.txt";
        case 1:
          return "\\\\127.0.0.1\\c$\\nothing.txt";
        case 2:
          return "\\\\?\\" + sandbox_.files[0];
        default:
          return "\\\\?\\UNC\\" + kLongLabel + "\\s\\x";
      }
    case 8:
      return root + "\\missing" + std::to_string(Below(4)) + ".txt";
    case 9:
      return sandbox_.files[Below(sandbox_.files.size())] + Pick(rng_, kFragments);
    case 10: {
      static const char* const kOdd[] = {
          "",     " ",           ".",      "..", "\\",  "C:",        "C:\\",
          "c:x",  "Z:\\nope\\x", "*.*",    "?",  "a|b", "\"a.txt\"", "C:\\windows\\..\\..\\..",
          "/tmp", "\\\\",        "\\\\?\\"};
      return Pick(rng_, kOdd);
    }
    case 11:
      return root + "\\" + Piece();
    default:
      return Text();
  }
}

std::string InputMaker::WritePath() {
  const std::string& root = sandbox_.root;
  switch (Below(12)) {
    case 0:
    case 1:
    case 2:
      return root + "\\out" + std::to_string(Below(6)) + (OneIn(2) ? ".txt" : ".bmp");
    case 3:
      return sandbox_.files[Below(sandbox_.files.size())];
    case 4:
      return "out_rel" + std::to_string(Below(3)) + ".txt";  // relative: the sandbox
    case 5: {
      static const char* const kDeviceWrites[] = {
          "CON", "NUL", "nul.txt", "\\\\.\\NUL", "\\\\.\\PhysicalDrive0", "AUX", "COM1"};
      const std::string device = Pick(rng_, kDeviceWrites);
      return OneIn(2) ? device : root + "\\" + device;
    }
    case 6:
      return root + "\\" + std::string(OneIn(2) ? 300 : 40000, 'w') + ".txt";
    case 7:
      return root + "\\no folder\\out.txt";
    case 8:
      return sandbox_.folders[Below(sandbox_.folders.size())];
    case 9: {
      static const char* const kBad[] = {"a|b.txt", "a<b>.txt", "a\"b.txt",
                                         "a?.txt",  "a*.txt",   "trailing. ",
                                         "x:y.txt", "\x81.txt", "\x82\xa0.txt"};
      return root + "\\" + Pick(rng_, kBad);
    }
    case 10:
      return "\\\\" + kLongLabel + "\\share\\out.txt";
    default:
      return OneIn(2) ? "" : "   ";
  }
}

std::string InputMaker::Host() {
  switch (Below(8)) {
    case 0:
      return "127.0.0.1";
    case 1:
      return "127." + std::to_string(Below(256)) + "." + std::to_string(Below(256)) + "." +
             std::to_string(1 + Below(254));
    case 2:
      return "localhost";
    case 3:
      return kLongLabel;
    case 4:
      return kLongLabel + ".example";
    default: {
      // Whatever the user typed, behind a label no resolver will send.
      std::string name = kLongLabel + Text();
      return name;
    }
  }
}

std::string InputMaker::Program() {
  std::string name;
  switch (Below(4)) {
    case 0:
      name = "zadode_fuzz_absent_" + std::to_string(Below(1000)) + ".exe";
      break;
    case 1:
      name = runningPrograms_.empty() ? "explorer.exe"
                                      : runningPrograms_[Below(runningPrograms_.size())];
      break;
    case 2:
      name = Pick(rng_, kFragments);
      break;
    default:
      name = Text();
  }
  for (const std::string& running : runningPrograms_) {
    const size_t cut = running.find_last_of("\\:");
    const std::string base = cut == std::string::npos ? running : running.substr(cut + 1);
    if (lstrcmpiA(name.c_str(), running.c_str()) == 0 || lstrcmpiA(name.c_str(), base.c_str()) == 0)
      return "zadode_fuzz_absent_" + std::to_string(Below(1000)) + ".exe";
  }
  return name;
}

std::string InputMaker::Window() {
  const auto own = std::to_string(reinterpret_cast<intptr_t>(ownWindow_));
  std::string text;
  switch (Below(4)) {
    case 0:
      text = own;
      break;
    case 1:
      text = " " + own;
      break;
    default:
      text = Number();
  }
  // Any number that names a window other than the driver's own becomes the driver's own.
  if (const auto value = ParseInteger(text)) {
    const auto sign = reinterpret_cast<HWND>(static_cast<intptr_t>(*value));
    const auto zero = reinterpret_cast<HWND>(static_cast<uintptr_t>(static_cast<uint32_t>(*value)));
    if ((IsWindow(sign) && sign != ownWindow_) || (IsWindow(zero) && zero != ownWindow_))
      return own;
  }
  return text;
}

std::string InputMaker::Date() {
  if (OneIn(4)) return Text();
  static const int kYears[] = {0, 1, 49, 50, 99, 100, 1899, 1900, 2000, 2024, 9999, 10000, -1};
  std::string day = std::to_string(static_cast<int>(Below(34)));
  std::string month = std::to_string(static_cast<int>(Below(14)));
  std::string year = std::to_string(kYears[Below(std::size(kYears))]);
  std::string separator = OneIn(5) ? Pick(rng_, kFragments) : dateSeparator_;
  std::string text =
      OneIn(3) ? day + separator + month : day + separator + month + separator + year;
  if (OneIn(6)) text = " " + text + " ";
  if (OneIn(8)) text += separator;
  return text;
}

std::string InputMaker::Keywords() {
  if (OneIn(5)) return Text();
  static const char* const kJoins[] = {"|", "+", ",", " ", ";", ""};
  std::string text;
  for (uint64_t i = 1 + Below(3); i > 0; --i) {
    text += Pick(rng_, kKeywords);
    if (i > 1) text += Pick(rng_, kJoins);
  }
  return text;
}

std::string InputMaker::Script() {
  if (OneIn(4)) return Text();
  static const char* const kBreaks[] = {"\r\n", "\n", "\r", "\r\r\n"};
  std::string script;
  for (uint64_t i = 1 + Below(5); i > 0; --i) {
    script += Pick(rng_, kScriptLines);
    script += Pick(rng_, kBreaks);
  }
  return script;
}

std::string InputMaker::Slot(char kind) {
  switch (static_cast<fuzz::Slot>(kind)) {
    case Slot::kText:
      return Text();
    case Slot::kNumber:
      return Number();
    case Slot::kVariable:
      return Variable();
    case Slot::kNames:
      return Names();
    case Slot::kReadPath:
      return ReadPath();
    case Slot::kWritePath:
      return WritePath();
    case Slot::kWriteFolder:
      return OneIn(6) ? WritePath() : sandbox_.folders[Below(sandbox_.folders.size())];
    case Slot::kFileName: {
      std::string name = Text();
      // No separator and no drive: the name stays inside the folder it is given.
      for (char& c : name)
        if (c == '\\' || c == '/' || c == ':') c = '_';
      return name;
    }
    case Slot::kPathList: {
      std::string list;
      for (uint64_t i = 1 + Below(3); i > 0; --i) {
        list += OneIn(2) ? WritePath() : sandbox_.files[Below(sandbox_.files.size())];
        if (i > 1) list += "|";
      }
      return list;
    }
    case Slot::kHost:
      return Host();
    case Slot::kProgram:
      return Program();
    case Slot::kWindow:
      return Window();
    case Slot::kDate:
      return Date();
    case Slot::kKeywords:
      return Keywords();
    case Slot::kScript:
      return Script();
  }
  return Text();
}

std::vector<std::optional<std::string>> InputMaker::Make(std::uint64_t seed, std::uint64_t number,
                                                         const ActionClass& action) {
  // SplitMix64 of seed and number: calls are independent, so one can be made alone again.
  uint64_t z = seed + 0x9E3779B97F4A7C15ull * (number + 1);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  rng_.seed(z ^ (z >> 31));
  std::vector<std::optional<std::string>> params;
  for (const char kind : action.slots) {
    // An empty folder is the root of the current drive to kxAddShortcut ("\name.lnk"), so a
    // folder slot is never null or empty: it names a folder in the sandbox.
    if (kind == static_cast<char>(Slot::kWriteFolder)) {
      std::string folder = Slot(kind);
      params.emplace_back(folder.empty() ? sandbox_.root : folder);
    } else if (OneIn(30)) {
      params.emplace_back(std::nullopt);
    } else {
      params.emplace_back(Slot(kind));
    }
  }
  return params;
}

std::string Describe(const std::vector<std::optional<std::string>>& params) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (const auto& param : params) {
    if (!out.empty()) out += ", ";
    if (!param) {
      out += "null";
      continue;
    }
    out += "\"";
    const std::string& text = *param;
    const size_t shown = text.size() > 160 ? 120 : text.size();
    for (size_t i = 0; i < shown; ++i) {
      const auto c = static_cast<unsigned char>(text[i]);
      if (c < 32 || c > 126 || c == '"' || c == '\\') {
        out += "\\x";
        out += kHex[c >> 4];
        out += kHex[c & 15];
      } else {
        out += static_cast<char>(c);
      }
    }
    if (shown < text.size())
      out += "...\" (" + std::to_string(text.size()) + " bytes)";
    else
      out += "\"";
  }
  return out;
}

}  // namespace fuzz
