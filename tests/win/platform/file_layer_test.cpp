// Every action that writes a file, against the targets that trip writers up; every action
// that reads one, against devices and a file another process holds. The file layer answers
// each cause the same way whichever action met it; after a failure the old file is byte for
// byte as it was, and no temporary file is left beside the target.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "core/failures.h"
#include "core/host_io.h"
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
      WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
  return ok && written == bytes.size();
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

std::string FullPath(const std::string& path) {
  wchar_t full[1024] = {};
  return WideToAnsi({full, GetFullPathNameW(AnsiToWide(path).c_str(), 1024, full, nullptr)});
}

// Started without a window; null for a Unix program, which Wine starts without a handle.
HANDLE Start(std::string commandLine) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                      nullptr, nullptr, &startup, &info))
    return nullptr;
  if (info.hThread) CloseHandle(info.hThread);
  return info.hProcess;
}

// The file held open by a child process (the idle helper beside this program) that lets
// others read and, with FILE_SHARE_WRITE in `share`, write, but never delete or rename it.
class HeldElsewhere {
 public:
  HeldElsewhere(const std::string& path, DWORD share) {
    char self[MAX_PATH] = {};
    std::string helper(self, GetModuleFileNameA(nullptr, self, MAX_PATH));
    child_ = Start(helper.replace(helper.find_last_of('\\') + 1, std::string::npos, "kx_idle.exe"));
    const HANDLE file =
        CreateFileW(Long(path).c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, 0, nullptr);
    HANDLE theirs = nullptr;
    held_ = child_ && file != INVALID_HANDLE_VALUE &&
            DuplicateHandle(GetCurrentProcess(), file, child_, &theirs, 0, FALSE,
                            DUPLICATE_SAME_ACCESS | DUPLICATE_CLOSE_SOURCE);
  }
  ~HeldElsewhere() {
    TerminateProcess(child_, 9);  // our own child, by its handle
    WaitForSingleObject(child_, 5000);
    CloseHandle(child_);
  }
  bool held() const { return held_; }

 private:
  HANDLE child_ = nullptr;
  bool held_ = false;
};

// A 16 MB tmpfs, mounted by the Unix shell that Wine can start (the suites run as root) and
// seen through Wine's Z: drive; unmounted again with the object.
class SmallDisk {
 public:
  // Windows process ids repeat across the Wine servers of suites that run side by side.
  SmallDisk() : unix_("/tmp/zadode_full_" + std::to_string(std::random_device()())) {
    mounted_ = Shell("mkdir -p " + unix_ + " && mount -t tmpfs -o size=16m zadode_full " + unix_);
  }
  ~SmallDisk() {
    if (mounted_) Shell("umount -l " + unix_ + " && rmdir " + unix_);
  }
  bool mounted() const { return mounted_; }
  std::string path() const { return Windows(unix_); }
  std::uint64_t FreeBytes() const {
    ULARGE_INTEGER free{};
    GetDiskFreeSpaceExW(Long(path() + "\\").c_str(), &free, nullptr, nullptr);
    return free.QuadPart;
  }

 private:
  static std::string Windows(std::string unixPath) {
    for (char& c : unixPath)
      if (c == '/') c = '\\';
    return "Z:" + unixPath;
  }
  // With no handle to wait on, the shell leaves its answer in a file.
  bool Shell(const std::string& command) {
    const std::string mark = unix_ + ".done";
    Start("Z:\\bin\\sh -c \"(" + command + ") && echo ok > " + mark + " || echo no > " + mark +
          "\"");
    for (int wait = 0; wait < 200; ++wait, Sleep(50))
      if (const auto answer = Get(Windows(mark)); answer && answer->size() >= 2) {
        DeleteFileW(Long(Windows(mark)).c_str());
        return answer->starts_with("ok");
      }
    return false;
  }

  std::string unix_;
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
  // Where runs differ (screenshots, links holding the times of their target), the content is
  // compared by its size and these first bytes ("BM", a link's header size); 0: all of it.
  std::size_t same;
  // "%T" the target, "%F" and "%N" its folder and name without ".lnk", "%B" the Base64 text,
  // "%H" the test's window, "%L" the file a link points to.
  std::vector<std::string> params;
};

constexpr DWORD kNotFound = 0xFFFFFFFF;  // kxWipeFile's own "does not exist" text

const struct Row {
  const char* cause;
  DWORD writers;  // what every writer but kxWipeFile meets; ERROR_SUCCESS: written
  DWORD wipe;     // what kxWipeFile meets; ERROR_SUCCESS: the file is gone
  bool fullDisk = false;
} kRows[] = {
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

const Writer kWriters[] = {
    {"kxSaveVariables", ".txt", Shape::kCreate, 0, {"a", "%T"}},
    {"kxBase64DecodeFile", ".bin", Shape::kCreate, 0, {"%B", "%T", "[Result]"}},
    {"kxHandleShot", ".bmp", Shape::kCreate, 2, {"%T", "%H", "[Result]"}},
    {"kxScreenShot", ".bmp", Shape::kCreate, 2, {"%T", "[Result]"}},
    {"kxActiveShot", ".bmp", Shape::kCreate, 2, {"%T", "[Result]"}},
    {"kxAddShortcut", ".lnk", Shape::kSystem, 4, {"%L", "", "%F", "%N", "", "[Result]"}},
    {"kxWipeFile", ".dat", Shape::kOpen, 0, {"%T", "0", "[Result]"}},
};

class FileLayerTest : public PluginTest {
 protected:
  void SetUp() override {
    // Shown without taking the focus from the other suites on the display.
    window_ = CreateWindowExA(WS_EX_NOACTIVATE, "STATIC", "", WS_POPUP, 0, 0, 64, 48, nullptr,
                              nullptr, nullptr, nullptr);
    ShowWindow(window_, SW_SHOWNOACTIVATE);
    NbHost::PumpMessages();
    std::string decoded(20000, '\0');
    for (std::size_t i = 0; i < decoded.size(); ++i)
      decoded[i] = static_cast<char>(i * 7 + i / 256);
    base64_ = Base64Encode(decoded);
    host.SetVar("a", std::string(20000, 'v'));
    linkTarget_ = linkDir_.Write("app.exe", "MZ");
  }
  void TearDown() override { DestroyWindow(window_); }

  std::vector<std::string> Params(const Writer& writer, const std::string& target) const {
    const size_t cut = target.find_last_of('\\');
    std::string name = target.substr(cut + 1);
    if (name.ends_with(".lnk")) name.resize(name.size() - 4);
    const std::map<std::string, std::string> fill = {
        {"%T", target},
        {"%F", cut == std::string::npos ? "." : target.substr(0, cut)},
        {"%N", name},
        {"%B", base64_},
        {"%H", std::to_string(reinterpret_cast<std::intptr_t>(window_))},
        {"%L", linkTarget_}};
    std::vector<std::string> params = writer.params;
    for (std::string& param : params) param = fill.contains(param) ? fill.at(param) : param;
    return params;
  }

  // The row's target for `writer`, with the old file, folder or full disk it needs; `old` gets
  // the old file's bytes, empty when there is none.
  std::string Target(const Row& row, const Writer& writer, const std::string& dir,
                     std::uint64_t newSize, std::string& old) {
    const std::string cause = row.cause, name = std::string("target") + writer.extension;
    old.clear();
    if (cause == "CON" || cause.starts_with("\\\\.\\")) return cause;
    if (cause == "missing folder") return dir + "\\missing\\" + name;
    std::string target = dir + "\\" + name;
    if (cause == "folder") {
      CreateDirectoryA(target.c_str(), nullptr);
      return target;
    }
    old = std::string(30000, 'o');  // longer than most new contents: the rest must go
    if (cause == "250-character folder" || cause == "past MAX_PATH") {
      const std::string folder =
          dir + "\\" + std::string((cause == "past MAX_PATH" ? 269 : 249) - dir.size(), 'd');
      CreateDirectoryW(Long(folder).c_str(), nullptr);
      target = folder + "\\a" + writer.extension;
    } else if (cause == "Cyrillic") {
      target = dir + "\\" + Cp1251("Снимок") + writer.extension;
    } else if (row.fullDisk) {
      // Beside the old file there is room for the growth alone, or for a page less than the
      // new content; either way not for a second copy.
      const bool room = cause == "room for one copy";
      old = std::string(room ? std::max<std::uint64_t>(1, newSize / 2) : 0, 'o');
      const std::uint64_t pages = std::max<std::uint64_t>(Pages(newSize), 1);
      const std::uint64_t free = room ? pages - Pages(old.size()) : pages - 1;
      EXPECT_TRUE(Put(target, old));
      EXPECT_TRUE(Put(dir + "\\filler", std::string(disk_->FreeBytes() - free * kPage, 'f')));
      EXPECT_EQ(disk_->FreeBytes(), free * kPage) << cause;
      return target;
    }
    EXPECT_TRUE(Put(target, old)) << cause;
    if (cause == "read-only") SetFileAttributesW(Long(target).c_str(), FILE_ATTRIBUTE_READONLY);
    return target;
  }

  // kxActiveShot pictures the foreground window. The test's own comes to the front only when
  // no program has it, so that the suites running beside this one on the display keep their
  // focus; its rows run while the test's window is in front.
  bool InFront(const Writer& writer) const {
    if (writer.action != std::string("kxActiveShot")) return true;
    if (const HWND front = GetForegroundWindow(); !front || front == GetDesktopWindow()) {
      SetForegroundWindow(window_);
      NbHost::PumpMessages();
    }
    if (GetForegroundWindow() == window_) return true;
    std::printf("kxActiveShot skipped: the test's window is not in front\n");
    return false;
  }

  void Check(const Row& row) {
    for (const Writer& writer : kWriters) {
      if (!InFront(writer)) continue;
      const bool wipe = writer.shape == Shape::kOpen;
      // What a successful write leaves, from a run into a fresh folder.
      const ScratchDir reference, scratch;
      const std::string fresh = reference.File(std::string("ref") + writer.extension);
      if (wipe) Put(fresh, "old");
      ASSERT_TRUE(host.Exec(writer.action, Params(writer, fresh))) << writer.action << LastError();
      const std::string expected = wipe ? std::string() : Get(fresh).value_or("");

      std::string old;
      if (row.fullDisk) RemoveTreeW(Long(disk_->path()));  // the mount point itself stays
      const std::string target =
          Target(row, writer, row.fullDisk ? disk_->path() : scratch.path(), expected.size(), old);
      const DWORD code = wipe ? row.wipe : row.writers;
      std::optional<HeldElsewhere> holder;
      if (std::string(row.cause).starts_with("held")) {
        const bool writable = std::string(row.cause).ends_with("writing shared");
        holder.emplace(target, FILE_SHARE_READ | (writable ? FILE_SHARE_WRITE : 0));
        ASSERT_TRUE(holder->held()) << row.cause;
      }
      const std::string what = std::string(writer.action) + ", " + row.cause;
      host.SetVar("LastError", "before");
      host.SetVar("Result", "before");
      const bool answer = host.Exec(writer.action, Params(writer, target));
      holder.reset();
      if (!InFront(writer)) continue;  // the picture may have been of another window
      EXPECT_EQ(answer, code == ERROR_SUCCESS) << what;

      std::string text = "before";
      if (code == kNotFound)
        text = FileNotFoundText(target);
      else if (code != ERROR_SUCCESS)
        text = writer.shape == Shape::kCreate   ? CannotCreateFileText(FullPath(target), code)
               : writer.shape == Shape::kSystem ? SystemErrorText(code)
                                                : CannotOpenFileText(FullPath(target), code);
      EXPECT_EQ(LastError(), text) << what;
      if (writer.params.back() == "[Result]")
        EXPECT_EQ(Result(), code == ERROR_SUCCESS ? "True" : "False") << what;
      const std::optional<std::string> now = Get(target);
      if (code != ERROR_SUCCESS) {
        if (!old.empty() || row.fullDisk)
          EXPECT_TRUE(now == old) << what << ": the old file changed";
      } else if (wipe) {
        EXPECT_FALSE(now) << what << ": the file is still there";
      } else {
        const std::size_t same = writer.same ? writer.same : expected.size();
        EXPECT_TRUE(now && now->size() == expected.size() &&
                    now->compare(0, same, expected, 0, same) == 0)
            << what;
      }
      WIN32_FIND_DATAW data;
      const HANDLE find = FindFirstFileW(
          (Long(target.substr(0, target.find_last_of('\\') + 1)) + L"~kx*").c_str(), &data);
      EXPECT_EQ(find, INVALID_HANDLE_VALUE) << what << ": a temporary file was left behind";
      if (find != INVALID_HANDLE_VALUE) FindClose(find);
    }
  }

  HWND window_ = nullptr;
  std::string base64_, linkTarget_;
  ScratchDir linkDir_;
  std::optional<SmallDisk> disk_;
};

// Reading "AUX" or "COM1" waits for a port that may never send: every reader refuses devices
// with the one "Cannot open file" text. A file held without sharing is met as each action
// always met it: the readers of its bytes report it, kxFileDate answers "False" alone, the
// link reader loads nothing, and the attribute queries do not need to open it.
TEST_F(FileLayerTest, EveryReaderRefusesDevicesAlike) {
  constexpr DWORD kUntouched = 0xFFFFFFFE;  // "False" with LastError as it was
  const struct {
    const char* action;
    std::vector<std::string> params;  // "%T" the path
    std::string result;               // empty: the action has no result variable
    DWORD held;
  } readers[] = {
      {"kxBase64EncodeFile", {"%T", "[Result]"}, "Result", ERROR_SHARING_VIOLATION},
      {"kxExecActions", {"%T"}, "", ERROR_SHARING_VIOLATION},
      {"kxGetShortcut", {"%T", "Link"}, "Link", ERROR_SUCCESS},
      {"kxFileDate", {"%T", "", "Times"}, "Times", kUntouched},
      {"kxFileSize", {"%T", "[Result]"}, "Result", ERROR_SUCCESS},
      {"kxFileLongPath", {"%T", "[Result]"}, "Result", ERROR_SUCCESS},
      {"kxFileShortPath", {"%T", "[Result]"}, "Result", ERROR_SUCCESS},
  };
  ScratchDir dir;
  const std::string held = dir.Write("held.txt", "abc");
  const HeldElsewhere holder(held, 0);
  ASSERT_TRUE(holder.held());
  host.scriptHook = [](const std::string&) {};
  for (const auto& reader : readers)
    for (const std::string path :
         {"CON", "AUX", "COM1", "NUL", "\\\\.\\PhysicalDrive0", held.c_str()}) {
      const std::string action = reader.action, result = reader.result;
      std::vector<std::string> params = reader.params;
      params[0] = path;
      const DWORD code = path == held ? reader.held : ERROR_INVALID_NAME;
      const bool fails = code != ERROR_SUCCESS;
      host.SetVar("LastError", "before");
      if (!result.empty()) host.SetVar(result, "before");
      EXPECT_EQ(host.Exec(action, params), !fails) << action << " " << path;
      EXPECT_EQ(LastError(),
                fails && code != kUntouched ? CannotOpenFileText(FullPath(path), code) : "before")
          << action << " " << path;
      if (!result.empty()) EXPECT_EQ(host.Value(result) == "False", fails) << action << " " << path;
    }
}

TEST_F(FileLayerTest, EveryWriterMeetsEveryCauseAlike) {
  for (const Row& row : kRows)
    // Wine names files through the Unix locale, which has no Cyrillic letters under C.
    if (!row.fullDisk && (row.cause != std::string("Cyrillic") || RussianLocale())) Check(row);
}

TEST_F(FileLayerTest, ANearlyFullDiskKeepsTheOldFile) {
  disk_.emplace();
  if (!disk_->mounted()) GTEST_SKIP() << "no tmpfs could be mounted (the suite must run as root)";
  for (const Row& row : kRows)
    if (row.fullDisk) Check(row);
}

}  // namespace
