#include "platform/resources.h"

#include "platform/buffers.h"
#include "pure/text.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

HMODULE PluginModule() { return reinterpret_cast<HMODULE>(&__ImageBase); }

std::string LoadResString(UINT id) {
  // LoadStringA cuts the text to the buffer without saying so: a text that fills it may have
  // been cut, so it is asked again with twice the room.
  return CallWithGrowingBuffer([id](char* buffer, DWORD size) -> DWORD {
           const int length = LoadStringA(PluginModule(), id, buffer, static_cast<int>(size));
           if (length <= 0) return 0;
           return static_cast<DWORD>(length) + 1 < size ? static_cast<DWORD>(length) : size * 2;
         })
      .value_or(std::string());
}

std::string FormatResString(UINT id, std::initializer_list<std::string_view> args) {
  return FillPercentS(LoadResString(id), args);
}
