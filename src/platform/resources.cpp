#include "platform/resources.h"

#include "pure/text.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

HMODULE PluginModule() { return reinterpret_cast<HMODULE>(&__ImageBase); }

std::string LoadResString(UINT id) {
  // LoadStringA cuts the text to the buffer without saying so: grow until it fits with room.
  std::string buffer(256, '\0');
  for (;;) {
    const int length =
        LoadStringA(PluginModule(), id, buffer.data(), static_cast<int>(buffer.size()));
    if (length <= 0) return {};
    if (static_cast<size_t>(length) < buffer.size() - 1) {
      buffer.resize(static_cast<size_t>(length));
      return buffer;
    }
    buffer.resize(buffer.size() * 2);
  }
}

std::string FormatResString(UINT id, std::initializer_list<std::string_view> args) {
  return FillPercentS(LoadResString(id), args);
}
