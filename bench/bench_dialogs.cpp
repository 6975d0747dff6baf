// Prints: how long the picture dialogs' preview panel takes to decode a selection, for a small
// PNG, a screen-sized BMP and two camera-sized JPEGs (scaled to the screen while decoding). The
// dialog waits for this on every change of selection.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "../tests/win/dialogs/pictures.h"
#include "actions/dialogs/image_preview.h"

namespace {
using Clock = std::chrono::steady_clock;
double Millis(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

std::string TempFile(const char* name) {
  char folder[MAX_PATH + 1] = {};
  GetTempPathA(MAX_PATH, folder);
  return std::string(folder) + "zadode_bench_" + name;
}

bool WriteBytes(const std::string& path, const std::string& bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const BOOL ok =
      WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
  return ok && written == bytes.size();
}

void Measure(const char* label, const std::string& path, int runs) {
  DecodePreviewPicture(path);  // codecs loaded, file cached
  const auto start = Clock::now();
  std::optional<std::pair<int, int>> size;
  for (int i = 0; i < runs; ++i) size = DecodePreviewPicture(path);
  if (!size) {
    std::printf("%-34s not decoded\n", label);
    return;
  }
  std::printf("%-34s %4dx%-4d %9.2f ms per selection\n", label, size->first, size->second,
              Millis(Clock::now() - start) / runs);
}
}  // namespace

int main() {
  const std::string png = TempFile("small.png"), bmp = TempFile("screen.bmp"),
                    jpeg = TempFile("camera.jpg"), huge = TempFile("huge.jpg");
  if (!WriteBytes(png, kPng) || !WriteBytes(bmp, BlankBitmap(1920, 1080)) ||
      !EncodePicture(jpeg, GUID_ContainerFormatJpeg, 4000, 3000) ||
      !EncodePicture(huge, GUID_ContainerFormatJpeg, 8000, 6000)) {
    std::printf("could not write the sample pictures\n");
    return 1;
  }
  Measure("PNG 40x30", png, 200);
  Measure("BMP 1920x1080", bmp, 20);
  Measure("JPEG 4000x3000", jpeg, 5);
  Measure("JPEG 8000x6000", huge, 3);
  for (const std::string& path : {png, bmp, jpeg, huge}) DeleteFileA(path.c_str());
  return 0;
}
