// Screenshots of windows painted in known colours and of the Xvfb screen, read back as BMP.
#include <gtest/gtest.h>

#include <string>

#include "core/failures.h"
#include "core/host_io.h"
#include "fixture.h"
#include "window_helpers.h"

namespace {

using ScreenshotTest = PluginTest;

int DisplayBits() {
  const HDC screen = GetDC(nullptr);
  const int bits = GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES);
  ReleaseDC(nullptr, screen);
  return bits;
}

// Nothing but the expected files: no temporary file is left behind.
std::vector<std::string> FilesIn(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA data;
  const HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    const std::string name = data.cFileName;
    if (name != "." && name != "..") names.push_back(name);
  } while (FindNextFileA(find, &data));
  FindClose(find);
  return names;
}

TEST_F(ScreenshotTest, HandleShotCopiesThePaintedPixels) {
  const PaintedWindow painted(40, 50, 101, 77);
  ScratchDir dir;
  const std::string path = dir.File("shot.bmp");
  ASSERT_TRUE(host.Exec("kxHandleShot", {path, HandleText(painted.get()), "[Result]"}));
  EXPECT_EQ(Result(), "True");
  EXPECT_FALSE(host.Var("LastError"));

  const Bmp bmp = ReadBmp(path);
  ASSERT_TRUE(bmp.ok) << bmp.bytes.size() << " bytes";
  EXPECT_EQ(bmp.width, 101);
  EXPECT_EQ(bmp.height, 77);
  EXPECT_EQ(bmp.infoSize, 40u);
  EXPECT_EQ(bmp.compression, 0u);
  EXPECT_EQ(bmp.bits, DisplayBits() == 15 ? 16 : DisplayBits());
  ASSERT_TRUE(bmp.bits == 24 || bmp.bits == 32) << "pixels are checked on true-colour displays";
  const struct {
    int x, y;
    std::uint32_t rgb;
  } points[] = {
      {0, 0, 0xFF0000},  {49, 37, 0xFF0000}, {50, 0, 0x00FF00},  {100, 37, 0x00FF00},
      {0, 38, 0x0000FF}, {49, 76, 0x0000FF}, {50, 38, 0xFFFFFF}, {100, 76, 0xFFFFFF},
  };
  for (const auto& point : points)
    EXPECT_EQ(bmp.Pixel(point.x, point.y), point.rgb) << point.x << "," << point.y;
}

// The whole window rectangle, title bar and borders included.
TEST_F(ScreenshotTest, WindowRectangleIncludesTheFrame) {
  const HWND window = host.OpenPublication("zaDode shot");
  RECT rect;
  GetWindowRect(window, &rect);
  RECT client;
  GetClientRect(window, &client);
  ASSERT_GT(rect.bottom - rect.top, client.bottom);
  ScratchDir dir;
  ASSERT_TRUE(host.Exec("kxHandleShot", {dir.File("frame.bmp"), host.Value("WinHandle"), ""}));
  const Bmp bmp = ReadBmp(dir.File("frame.bmp"));
  ASSERT_TRUE(bmp.ok);
  EXPECT_EQ(bmp.width, rect.right - rect.left);
  EXPECT_EQ(bmp.height, rect.bottom - rect.top);
}

TEST_F(ScreenshotTest, ScreenShotIsThePrimaryDisplay) {
  ScratchDir dir;
  const std::string path = dir.File("screen.bmp");
  ASSERT_TRUE(host.Exec("kxScreenShot", {path, "[Result]"}));
  EXPECT_EQ(Result(), "True");
  const Bmp bmp = ReadBmp(path);
  ASSERT_TRUE(bmp.ok);
  // xvfb-run's screen is 1280x1024 unless told otherwise.
  EXPECT_EQ(bmp.width, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(bmp.height, GetSystemMetrics(SM_CYSCREEN));
  if (GetSystemMetrics(SM_CXSCREEN) == 1280) {
    EXPECT_EQ(bmp.height, 1024);
    EXPECT_EQ(bmp.bytes.size(), 54u + 1280u * 1024u * (bmp.bits / 8u));
  }
}

TEST_F(ScreenshotTest, ActiveShotTakesTheForegroundWindow) {
  const PaintedWindow painted(10, 10, 64, 48);
  SetForegroundWindow(painted.get());
  NbHost::PumpMessages();
  const HWND foreground = GetForegroundWindow();
  if (!foreground) GTEST_SKIP() << "no foreground window on this display";
  RECT rect;
  GetWindowRect(foreground, &rect);
  ScratchDir dir;
  ASSERT_TRUE(host.Exec("kxActiveShot", {dir.File("active.bmp"), "[Result]"}));
  EXPECT_EQ(Result(), "True");
  const Bmp bmp = ReadBmp(dir.File("active.bmp"));
  ASSERT_TRUE(bmp.ok);
  EXPECT_EQ(bmp.width, rect.right - rect.left);
  EXPECT_EQ(bmp.height, rect.bottom - rect.top);
}

// The extension does not choose the format, and an existing file is replaced whole.
TEST_F(ScreenshotTest, AnyNameGetsBmpBytes) {
  const PaintedWindow painted(0, 0, 16, 16);
  ScratchDir dir;
  const std::string longer(100000, 'x');
  for (const std::string name : {"shot.png", "shot.jpg", "noextension", "old.bmp"}) {
    if (name == "old.bmp") dir.Write(name, longer);
    const std::string path = dir.File(name);
    EXPECT_TRUE(host.Exec("kxHandleShot", {path, HandleText(painted.get()), "[Result]"})) << name;
    const Bmp bmp = ReadBmp(path);
    EXPECT_TRUE(bmp.ok) << name;
    EXPECT_EQ(bmp.width, 16) << name;
  }
  EXPECT_EQ(FilesIn(dir.path()).size(), 4u);
}

TEST_F(ScreenshotTest, FailuresWriteNoFile) {
  const PaintedWindow painted(0, 0, 16, 16);
  const std::string handle = HandleText(painted.get());
  ScratchDir dir;
  const std::string path = dir.File("shot.bmp");
  const std::string invalidWindow = SystemErrorText(ERROR_INVALID_WINDOW_HANDLE);
  const struct {
    std::string action, path, handle, lastError;
  } rows[] = {
      {"kxHandleShot", path, "0", invalidWindow},
      {"kxHandleShot", path, HandleText(ClosedWindowHandle()), invalidWindow},
      {"kxHandleShot", path, "12ab", "Invalid \"kxHandleShot\" action arguments"},
      {"kxHandleShot", path, "", "Invalid \"kxHandleShot\" action arguments"},
  };
  for (const auto& row : rows) {
    host.ClearVariables("");
    host.ClearLogs();
    const std::vector<std::string> params =
        row.action == "kxHandleShot" ? std::vector<std::string>{row.path, row.handle, "[Result]"}
                                     : std::vector<std::string>{row.path, "[Result]"};
    EXPECT_FALSE(host.Exec(row.action, params)) << row.action << " " << row.handle;
    EXPECT_EQ(Result(), "False") << row.action << " " << row.handle;
    if (!row.lastError.empty()) EXPECT_EQ(LastError(), row.lastError) << row.handle;
    EXPECT_FALSE(LastError().empty()) << row.action << " " << row.handle;
    ASSERT_EQ(host.setCalls.size(), 2u) << row.action;
    EXPECT_EQ(host.setCalls[0].name, "LastError");
    EXPECT_TRUE(FilesIn(dir.path()).empty()) << row.action << " " << row.handle;
  }
}

// Every DC and bitmap goes back on success and on failure alike.
TEST_F(ScreenshotTest, ThousandShotsLeakNoGdiObjects) {
  // The count must see ten new brushes, or it cannot see a leak either.
  const int empty = GdiObjectCount();
  HBRUSH brushes[10];
  for (auto& brush : brushes) brush = CreateSolidBrush(RGB(1, 2, 3));
  const int withBrushes = GdiObjectCount();
  for (const auto brush : brushes) DeleteObject(brush);
  if (empty < 0 || withBrushes != empty + 10) GTEST_SKIP() << "GDI objects cannot be counted here";

  const PaintedWindow painted(0, 0, 32, 24);
  const std::string handle = HandleText(painted.get());
  ScratchDir dir;
  const std::string path = dir.File("leak.bmp"), missing = dir.File("missing\\leak.bmp");
  // One shot first, so objects made once per process are not counted.
  ASSERT_TRUE(host.Exec("kxHandleShot", {path, handle, ""}));
  const int before = GdiObjectCount();
  for (int i = 0; i < 1000; ++i) {
    const bool fail = i % 10 == 9;
    ASSERT_EQ(host.Exec("kxHandleShot", {fail ? missing : path, handle, ""}), !fail) << i;
  }
  EXPECT_EQ(GdiObjectCount(), before);
}

}  // namespace
