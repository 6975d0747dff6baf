// Every action that writes a file, against the targets that trip writers up; every action
// that reads one, against devices and a file another process holds. The file layer answers
// each cause the same way whichever action met it; after a failure the old file is byte for
// byte as it was, and no temporary file is left beside the target.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "core/conventions.h"
#include "encoding.h"
#include "fixture.h"
#include "platform/buffers.h"
#include "pure/base64.h"
#include "tree.h"

namespace {

// Files by their wide "\\?\" names, so that paths past MAX_PATH work in the test as well.
std::wstring Long(const std::string& path) { return L"\\\\?\\" + AnsiToWide(path); }

bool Put(const std::string& path, const std::string& bytes) {
  const HANDLE file = CreateFileW(Long(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written = 0;
  const bool ok =
      file != INVALID_HANDLE_VALUE &&
      WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
      written == bytes.size();
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  return ok;
}

std::optional<std::string> Get(const std::string& path) {
  const HANDLE file = CreateFileW(Long(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string bytes(GetFileSize(file, nullptr), '\0');
  DWORD read = 0;
  ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
  CloseHandle(file);
  return bytes.substr(0, read);
}

std::vector<std::string> Listing(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAW data;
  const HANDLE find = FindFirstFileW((Long(folder) + L"\\*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    const std::string name = WideToAnsi(data.cFileName);
    if (name != "." && name != "..") names.push_back(name);
  } while (FindNextFileW(find, &data));
  FindClose(find);
  return names;
}

std::string FolderOf(const std::string& path) {
  const size_t cut = path.find_last_of('\\');
  return cut == std::string::npos ? "." : path.substr(0, cut);
}

// The file held open by a child process (the idle helper beside this program) that lets
// others read and, with `share` FILE_SHARE_WRITE, write, but never delete or rename it.
class HeldElsewhere {
 public:
  HeldElsewhere(const std::string& path, DWORD share) {
    char self[MAX_PATH] = {};
    std::string helper(self, GetModuleFileNameA(nullptr, self, MAX_PATH));
    helper.replace(helper.find_last_of('\\') + 1, std::string::npos, "kx_idle.exe");
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(helper.c_str(), nullptr, nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                        nullptr, &startup, &info))
      return;
    CloseHandle(info.hThread);
    child_ = info.hProcess;
    const HANDLE file =
        CreateFileW(Long(path).c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, 0, nullptr);
    HANDLE theirs = nullptr;
    held_ = file != INVALID_HANDLE_VALUE &&
            DuplicateHandle(GetCurrentProcess(), file, child_, &theirs, 0, FALSE,
                            DUPLICATE_SAME_ACCESS | DUPLICATE_CLOSE_SOURCE);
  }
  ~HeldElsewhere() {
    if (!child_) return;
    TerminateProcess(child_, 9);  // our own child, by its handle
    WaitForSingleObject(child_, 5000);
    CloseHandle(child_);
  }
  bool held() const { return held_; }

 private:
  HANDLE child_ = nullptr;
  bool held_ = false;
};

// A small tmpfs, mounted through the Unix shell Wine can start (the suites run as root) and
// seen through Wine's Z: drive; unmounted again with the object.
class SmallDisk {
 public:
  explicit SmallDisk(bool mount)
      : unix_("/tmp/zadode_full_" + std::to_string(GetCurrentProcessId())) {
    if (mount)
      mounted_ = Shell("mkdir -p " + unix_ + " && mount -t tmpfs -o size=16m zadode_full " + unix_);
    path_ = "Z:" + unix_;
    for (char& c : path_)
      if (c == '/') c = '\\';
  }
  ~SmallDisk() {
    if (mounted_) Shell("umount -l " + unix_ + " && rmdir " + unix_);
  }
  bool mounted() const { return mounted_; }
  const std::string& path() const { return path_; }
  std::uint64_t FreeBytes() const {
    ULARGE_INTEGER free{}, total{}, totalFree{};
    GetDiskFreeSpaceExW(Long(path_ + "\\").c_str(), &free, &total, &totalFree);
    return free.QuadPart;
  }

 private:
  // A Unix process started from Wine gives no handle to wait on: it leaves a mark instead.
  bool Shell(const std::string& command) {
    const std::string mark = unix_ + ".done";
    std::string line = "Z:\\bin\\sh -c \"rm -f " + mark + "; (" + command + ") && echo ok > " +
                       mark + " || echo no > " + mark + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info))
      return false;
    if (info.hThread) CloseHandle(info.hThread);
    if (info.hProcess) CloseHandle(info.hProcess);
    std::string markPath = "Z:" + mark;
    for (char& c : markPath)
      if (c == '/') c = '\\';
    for (int wait = 0; wait < 200; ++wait, Sleep(50))
      if (const auto answer = Get(markPath); answer && !answer->empty()) {
        DeleteFileA(markPath.c_str());
        return answer->rfind("ok", 0) == 0;
      }
    return false;
  }

  std::string unix_, path_;
  bool mounted_ = false;
};

constexpr std::uint64_t kPage = 4096;
std::uint64_t Pages(std::uint64_t bytes) { return (bytes + kPage - 1) / kPage; }

// How an action tells a failure of the file layer.
enum class Shape { kCreate, kSystem, kOpen };

struct Writer {
  const char* action;
  const char* extension;
  Shape shape;
  // The first bytes of the content where runs differ (screenshots, links with the times of
  // their target), which are then compared by size and these; empty: byte for byte.
  std::string signature;
  std::function<std::vector<std::string>(const std::string& target)> params;
};

constexpr DWORD kNotFound = 0xFFFFFFFF;  // kxWipeFile's own "does not exist" text

struct Row {
  const char* cause;
  DWORD writers;  // what every writer but kxWipeFile meets; ERROR_SUCCESS: written
  DWORD wipe;     // what kxWipeFile meets; ERROR_SUCCESS: the file is gone
  bool fullDisk = false;
};

const Row kRows[] = {
    {"CON", ERROR_INVALID_NAME, ERROR_INVALID_NAME},
    {"\\\\.\\PhysicalDrive0", ERROR_INVALID_NAME, ERROR_INVALID_NAME},
    {"read-only", ERROR_ACCESS_DENIED, ERROR_ACCESS_DENIED},
    {"folder", ERROR_ACCESS_DENIED, kNotFound},
    {"missing folder", ERROR_PATH_NOT_FOUND, kNotFound},
    {"held, writing shared", ERROR_SUCCESS, ERROR_SHARING_VIOLATION},
    {"held, reading shared", ERROR_SHARING_VIOLATION, ERROR_SHARING_VIOLATION},
    {"250-character folder", ERROR_SUCCESS, ERROR_SUCCESS},
    {"past MAX_PATH", ERROR_SUCCESS, ERROR_SUCCESS},
    {"Cyrillic", ERROR_SUCCESS, ERROR_SUCCESS},
    {"room for one copy", ERROR_SUCCESS, ERROR_SUCCESS, true},
    {"no room", ERROR_DISK_FULL, ERROR_SUCCESS, true},
};

class FileLayerTest : public PluginTest {
 protected:
  void SetUp() override {
    window_ = CreateWindowExA(WS_EX_TOPMOST, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 64, 48,
                              nullptr, nullptr, nullptr, nullptr);
    SetForegroundWindow(window_);
    NbHost::PumpMessages();
    std::mt19937 generator(7);
    for (int i = 0; i < 20000; ++i) decoded_ += static_cast<char>(generator());
    host.SetVar("a", std::string(20000, 'v'));
    linkTarget_ = linkDir_.Write("app.exe", "MZ");
  }
  void TearDown() override { DestroyWindow(window_); }

  std::vector<Writer> Writers() const {
    const std::string handle = std::to_string(reinterpret_cast<std::intptr_t>(window_));
    const auto shot = [](const char* action, bool withHandle, const std::string& handleText) {
      return Writer{action, ".bmp", Shape::kCreate, "BM", [=](const std::string& target) {
                      return withHandle ? std::vector<std::string>{target, handleText, "[Result]"}
                                        : std::vector<std::string>{target, "[Result]"};
                    }};
    };
    return {
        {"kxSaveVariables", ".txt", Shape::kCreate, "",
         [](const std::string& target) {
           return std::vector<std::string>{"a", target};
         }},
        {"kxBase64DecodeFile", ".bin", Shape::kCreate, "",
         [this](const std::string& target) {
           return std::vector<std::string>{Base64Encode(decoded_), target, "[Result]"};
         }},
        shot("kxHandleShot", true, handle),
        shot("kxScreenShot", false, ""),
        shot("kxActiveShot", false, ""),
        {"kxAddShortcut", ".lnk", Shape::kSystem, std::string("L\0\0\0", 4),
         [this](const std::string& target) {
           std::string name = target.substr(target.find_last_of('\\') + 1);
           if (name.ends_with(".lnk")) name.resize(name.size() - 4);
           return std::vector<std::string>{linkTarget_, "", FolderOf(target), name, "", "[Result]"};
         }},
        {"kxWipeFile", ".dat", Shape::kOpen, "",
         [](const std::string& target) {
           return std::vector<std::string>{target, "0", "[Result]"};
         }},
    };
  }

  // The row's target for `writer` in `dir` (or on the small disk), with the old file, folder
  // or holder it needs; the old file's bytes, empty when there is none.
  std::string Target(const Row& row, const Writer& writer, const ScratchDir& dir,
                     const SmallDisk& disk, std::uint64_t newSize, std::string& old) {
    const std::string cause = row.cause, name = std::string("target") + writer.extension;
    old = "old content\r\n";
    if (cause == "CON" || cause.starts_with("\\\\.\\")) {
      old.clear();
      return cause;
    }
    std::string target = dir.File(name);
    if (cause == "folder" || cause == "missing folder") {
      old.clear();
      if (cause == "missing folder") return dir.File("missing\\" + name);
      CreateDirectoryA(target.c_str(), nullptr);
      return target;
    }
    if (cause == "250-character folder" || cause == "past MAX_PATH") {
      std::string folder = dir.path() + "\\";
      folder += std::string((cause == "past MAX_PATH" ? 270 : 250) - folder.size(), 'd');
      CreateDirectoryW(Long(folder).c_str(), nullptr);
      target = folder + "\\a" + writer.extension;
    } else if (cause == "Cyrillic") {
      target = dir.File(Cp1251("Снимок") + writer.extension);
    } else if (row.fullDisk) {
      RemoveTreeW(Long(disk.path()));  // the mount point itself stays
      target = disk.path() + "\\" + name;
      const bool room = cause == "room for one copy";
      old = std::string(room ? std::max<std::uint64_t>(1, newSize / 2) : 0, 'o');
      EXPECT_TRUE(Put(target, old));
      // Beside the old file there is room for the growth alone, or for one page less than
      // the new content; either way not for a second copy.
      const std::uint64_t pages = std::max<std::uint64_t>(Pages(newSize), 1);
      const std::uint64_t free = room ? pages - Pages(old.size()) : pages - 1;
      EXPECT_TRUE(Put(disk.path() + "\\filler", std::string(disk.FreeBytes() - free * kPage, 'f')));
      EXPECT_EQ(disk.FreeBytes(), free * kPage) << cause;
      return target;
    }
    EXPECT_TRUE(Put(target, old)) << cause;
    if (cause == "read-only") SetFileAttributesW(Long(target).c_str(), FILE_ATTRIBUTE_READONLY);
    return target;
  }

  void Check(const Row& row, const SmallDisk& disk) {
    for (const Writer& writer : Writers()) {
      const bool wipe = writer.shape == Shape::kOpen;
      // What a successful write leaves, from a run into a fresh folder.
      ScratchDir reference;
      const std::string fresh = reference.File(std::string("ref") + writer.extension);
      if (wipe) Put(fresh, "old content\r\n");
      if (!host.Exec(writer.action, writer.params(fresh))) {
        ADD_FAILURE() << writer.action << " fails on a plain target: " << LastError();
        continue;
      }
      const std::string expected = wipe ? std::string() : Get(fresh).value_or("");

      ScratchDir dir;
      std::string old;
      const std::string target = Target(row, writer, dir, disk, expected.size(), old);
      const DWORD code = wipe ? row.wipe : row.writers;
      std::optional<HeldElsewhere> holder;
      if (std::string(row.cause).starts_with("held")) {
        holder.emplace(target, std::string(row.cause).ends_with("writing shared")
                                   ? FILE_SHARE_READ | FILE_SHARE_WRITE
                                   : FILE_SHARE_READ);
        ASSERT_TRUE(holder->held()) << row.cause;
      }
      const std::string what = std::string(writer.action) + ", " + row.cause;
      host.SetVar("LastError", "before");
      host.SetVar("Result", "before");
      EXPECT_EQ(host.Exec(writer.action, writer.params(target)), code == ERROR_SUCCESS) << what;
      holder.reset();

      const std::string full = target.starts_with("\\\\.\\") ? target : FullPath(target);
      std::string text = "before";
      if (code == kNotFound)
        text = FileNotFoundText(target);
      else if (code != ERROR_SUCCESS)
        text = writer.shape == Shape::kCreate   ? CannotCreateFileText(full, code)
               : writer.shape == Shape::kSystem ? SystemErrorText(code)
                                                : CannotOpenFileText(full, code);
      EXPECT_EQ(LastError(), text) << what;
      if (writer.action != std::string("kxSaveVariables"))
        EXPECT_EQ(Result(), code == ERROR_SUCCESS ? "True" : "False") << what;
      const std::optional<std::string> now = Get(target);
      if (code != ERROR_SUCCESS) {
        if (!old.empty() || row.fullDisk)
          EXPECT_TRUE(now == old) << what << ": the old file changed";
      } else if (wipe) {
        EXPECT_FALSE(now) << what << ": the file is still there";
      } else if (writer.signature.empty()) {
        EXPECT_TRUE(now == expected) << what;
      } else {
        EXPECT_TRUE(now && now->size() == expected.size() && now->starts_with(writer.signature))
            << what;
      }
      if (!target.starts_with("\\\\.\\") && target != "CON")
        for (const std::string& name : Listing(FolderOf(target)))
          EXPECT_FALSE(name.starts_with("~kx")) << what << ": " << name << " was left behind";
    }
  }

  static std::string FullPath(const std::string& path) {
    wchar_t full[1024] = {};
    const DWORD length = GetFullPathNameW(AnsiToWide(path).c_str(), 1024, full, nullptr);
    return WideToAnsi(std::wstring(full, length));
  }

  HWND window_ = nullptr;
  std::string decoded_, linkTarget_;
  ScratchDir linkDir_;
};

// Reading "AUX" or "COM1" waits for a port that may never send: every reader refuses devices
// with the one "Cannot open file" text. A file held without sharing is met as each action
// always met it: the readers of its bytes report it, kxFileDate answers "False" alone, the
// link reader loads nothing, and the attribute queries do not need to open it.
TEST_F(FileLayerTest, EveryReaderRefusesDevicesAlike) {
  constexpr DWORD kUntouched = 0xFFFFFFFE;  // "False" with LastError as it was
  const struct {
    const char* action;
    const char* result;  // null: the action has no result variable
    DWORD held;
  } readers[] = {
      {"kxBase64EncodeFile", "Result", ERROR_SHARING_VIOLATION},
      {"kxExecActions", nullptr, ERROR_SHARING_VIOLATION},
      {"kxGetShortcut", "Link", ERROR_SUCCESS},
      {"kxFileDate", "Times", kUntouched},
      {"kxFileSize", "Result", ERROR_SUCCESS},
      {"kxFileLongPath", "Result", ERROR_SUCCESS},
      {"kxFileShortPath", "Result", ERROR_SUCCESS},
  };
  ScratchDir dir;
  const std::string held = dir.Write("held.txt", "abc");
  const HeldElsewhere holder(held, 0);
  ASSERT_TRUE(holder.held());
  host.scriptHook = [](const std::string&) {};
  for (const auto& reader : readers)
    for (const std::string path :
         {"CON", "AUX", "COM1", "NUL", "\\\\.\\PhysicalDrive0", held.c_str()}) {
      const std::string action = reader.action, result = reader.result ? reader.result : "";
      const std::vector<std::string> params =
          action == "kxExecActions"   ? std::vector<std::string>{path}
          : action == "kxFileDate"    ? std::vector<std::string>{path, "", result}
          : action == "kxGetShortcut" ? std::vector<std::string>{path, result}
                                      : std::vector<std::string>{path, "[" + result + "]"};
      const DWORD code = path == held ? reader.held : ERROR_INVALID_NAME;
      const bool fails = code != ERROR_SUCCESS;
      host.SetVar("LastError", "before");
      if (!result.empty()) host.SetVar(result, "before");
      EXPECT_EQ(host.Exec(action, params), !fails) << action << " " << path;
      EXPECT_EQ(LastError(), fails && code != kUntouched
                                 ? CannotOpenFileText(path == held ? path : FullPath(path), code)
                                 : "before")
          << action << " " << path;
      if (!result.empty()) EXPECT_EQ(host.Value(result) == "False", fails) << action << " " << path;
    }
}

TEST_F(FileLayerTest, EveryWriterMeetsEveryCauseAlike) {
  const SmallDisk none(false);  // these rows do not use it
  for (const Row& row : kRows) {
    // Wine names files through the Unix locale, which has no Cyrillic letters under C.
    if (row.cause == std::string("Cyrillic") && !RussianLocale()) continue;
    if (!row.fullDisk) Check(row, none);
  }
}

TEST_F(FileLayerTest, ANearlyFullDiskKeepsTheOldFile) {
  const SmallDisk disk(true);
  if (!disk.mounted()) GTEST_SKIP() << "no tmpfs could be mounted (the suite must run as root)";
  for (const Row& row : kRows)
    if (row.fullDisk) Check(row, disk);
}

}  // namespace
