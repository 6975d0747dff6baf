#include "core/random.h"

#include <windows.h>
// objbase.h builds on the types that windows.h declares.
#include <objbase.h>

#include "platform/seams.h"
#include "pure/guid_text.h"
#include "pure/text.h"

std::string NewGuidText() {
  GUID guid{};
  if (FAILED(CoCreateGuid(&guid))) return {};
  return GuidText(guid.Data1, guid.Data2, guid.Data3, guid.Data4);
}

std::string MakeTempFilePath(std::string_view extension) {
  char buffer[MAX_PATH + 1] = {};
  const DWORD length = GetTempPathA(MAX_PATH, buffer);
  std::string folder(buffer, length <= MAX_PATH ? length : 0);
  const auto cut = folder.find_last_of("\\:");
  folder.resize(cut == std::string::npos ? 0 : cut + 1);
  std::string path = folder + NewGuidText();
  if (!IsBlank(extension)) path.append(".").append(extension);
  return path;
}

std::uint32_t ClockSeededRandom::Next(std::uint32_t range) {
  if (!seeded_) {
    LARGE_INTEGER counter{};
    generator_.Seed(Seams().queryPerformanceCounter(&counter)
                        ? static_cast<std::uint32_t>(counter.LowPart)
                        : GetTickCount());
    seeded_ = true;
  }
  return generator_.Next(range);
}
