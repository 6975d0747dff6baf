#include "pure/file_operations.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <utility>

#include "pure/text.h"

namespace {

// The operations by code, from FO_MOVE (1).
constexpr std::array<std::string_view, 4> kOperations = {"FO_MOVE", "FO_COPY", "FO_DELETE",
                                                         "FO_RENAME"};

constexpr std::pair<std::string_view, std::uint16_t> kFlags[] = {
    {"FOF_ALLOWUNDO", 0x40},
    {"FOF_FILESONLY", 0x80},
    {"FOF_MULTIDESTFILES", 0x1},
    {"FOF_NOCONFIRMATION", 0x10},
    {"FOF_NOCONFIRMMKDIR", 0x200},
    {"FOF_NO_CONNECTED_ELEMENTS", 0x2000},
    {"FOF_NOCOPYSECURITYATTRIBS", 0x800},
    {"FOF_NOERRORUI", 0x400},
    {"FOF_NORECURSION", 0x1000},
    {"FOF_NO_UI", 0x614},
    {"FOF_RENAMEONCOLLISION", 0x8},
    {"FOF_SILENT", 0x4},
    {"FOF_SIMPLEPROGRESS", 0x100},
};
constexpr auto kFlagNames = [] {
  std::array<std::string_view, std::size(kFlags)> names;
  for (std::size_t i = 0; i < names.size(); ++i) names[i] = kFlags[i].first;
  return names;
}();

}  // namespace

std::optional<unsigned> ShellOperationCode(std::string_view name) {
  for (unsigned code = 1; code <= kOperations.size(); ++code)
    if (name == kOperations[code - 1]) return code;
  return std::nullopt;
}

std::span<const std::string_view> ShellOperationNames() { return kOperations; }

std::uint16_t ShellOperationFlags(std::string_view text) {
  std::uint16_t flags = 0;
  for (const auto& [name, value] : kFlags)
    if (text.find(name) != std::string_view::npos) flags |= value;
  return flags;
}

std::span<const std::string_view> ShellOperationFlagNames() { return kFlagNames; }

std::optional<std::string> ShellPathList(std::string_view text) {
  if (IsBlank(text)) return std::nullopt;
  std::string list;
  list.reserve(text.size() + 2);
  for (const std::string& path : SplitText("|", text)) {
    if (path.empty()) continue;
    list.append(path).push_back('\0');
  }
  list.push_back('\0');
  // Every path may have been an empty piece ("|"): the shell still needs both zeros.
  if (list.size() == 1) list.push_back('\0');
  return list;
}

void FillWithPattern(std::string_view pattern, char* out, std::size_t size) {
  if (pattern.empty() || size == 0) return;
  std::size_t filled = std::min(pattern.size(), size);
  std::memcpy(out, pattern.data(), filled);
  // Doubling copies: a megabyte takes about ten memcpy calls instead of a thousand.
  while (filled < size) {
    const std::size_t chunk = std::min(filled, size - filled);
    std::memcpy(out + filled, out, chunk);
    filled += chunk;
  }
}
