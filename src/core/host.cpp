#include "core/host.h"

#include <cstring>
#include <new>

HostCallbacks& Host() {
  static HostCallbacks callbacks;
  return callbacks;
}

void ReleaseHostString(char** slot) {
  if (*slot) GlobalFree(*slot);
  *slot = nullptr;
}

void HandOverString(char** slot, std::string_view text) {
  ReleaseHostString(slot);
  auto* block = static_cast<char*>(GlobalAlloc(GMEM_FIXED, text.size() + 1));
  if (!block) throw std::bad_alloc();
  std::memcpy(block, text.data(), text.size());
  block[text.size()] = '\0';
  *slot = block;
}
