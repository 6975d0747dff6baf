#include "pure/dialog_options.h"

#include <algorithm>
#include <array>

#include "pure/string_rules.h"
#include "pure/text.h"

namespace {

constexpr std::uint32_t kHideReadOnly = 0x4;
constexpr std::uint32_t kExplorer = 0x80000;

struct FileKeyword {
  std::string_view word;
  bool open, save;
  std::uint32_t flag;    // OPENFILENAME Flags it adds
  std::uint32_t flagEx;  // OPENFILENAME FlagsEx it adds
};

// The open and save columns of the file dialogs' keywords, in the order the property forms
// list them. "ofOldStyleDialog" adds nothing: it takes OFN_EXPLORER away.
constexpr std::array<FileKeyword, 18> kFileKeywords = {{
    {"ofOverwritePrompt", false, true, 0x2, 0},
    {"ofNoChangeDir", true, true, 0x8, 0},
    {"ofNoValidate", true, true, 0x100, 0},
    {"ofAllowMultiSelect", true, false, 0x200, 0},
    {"ofPathMustExist", true, false, 0x800, 0},
    {"ofFileMustExist", true, false, 0x1000, 0},
    {"ofCreatePrompt", true, false, 0x2000, 0},
    {"ofShareAware", true, true, 0x4000, 0},
    {"ofNoReadOnlyReturn", true, true, 0x8000, 0},
    {"ofNoTestFileCreate", true, true, 0x10000, 0},
    {"ofNoNetworkButton", true, true, 0x20000, 0},
    {"ofNoLongNames", true, true, 0x40000, 0},
    {"ofOldStyleDialog", true, true, 0, 0},
    {"ofNoDereferenceLinks", true, true, 0x100000, 0},
    {"ofEnableSizing", true, true, 0x800000, 0},
    {"ofDontAddToRecent", true, true, 0x2000000, 0},
    {"ofForceShowHidden", true, true, 0x10000000, 0},
    {"ofExNoPlacesBar", true, true, 0, 0x1},
}};

struct ColorKeyword {
  std::string_view word;
  std::uint32_t flag;
};
constexpr std::array<ColorKeyword, 4> kColorKeywords = {{
    {"cdFullOpen", 0x2},
    {"cdAnyColor", 0x100},
    {"cdSolidColor", 0x80},
    {"cdPreventFullOpen", 0x4},
}};
constexpr std::uint32_t kRgbInit = 0x1;

bool Has(std::string_view options, std::string_view word) {
  return options.find(word) != std::string_view::npos;
}

std::string JoinPath(std::string_view folder, std::string_view name, const LeadBytes& lead) {
  // A name with a drive or a leading backslash is already a full path (the dialog returns
  // such names for shortcuts it did not follow).
  if (name.size() > 1 && (name[1] == ':' || name[0] == '\\')) return std::string(name);
  return WithTrailingBackslash(folder, lead).append(name);
}

template <typename Keyword, typename Pick>
std::vector<std::string_view> WordsOf(const Keyword& keywords, Pick pick) {
  std::vector<std::string_view> words;
  for (const auto& keyword : keywords)
    if (pick(keyword)) words.push_back(keyword.word);
  return words;
}

}  // namespace

FileDialogFlags FileDialogOptions(std::string_view options, bool saveDialog) {
  FileDialogFlags result;
  result.flags = kHideReadOnly;
  if (!Has(options, "ofOldStyleDialog")) result.flags |= kExplorer;
  for (const FileKeyword& keyword : kFileKeywords) {
    if ((saveDialog ? keyword.save : keyword.open) && Has(options, keyword.word)) {
      result.flags |= keyword.flag;
      result.flagsEx |= keyword.flagEx;
    }
  }
  return result;
}

std::uint32_t ColorDialogOptions(std::string_view options) {
  std::uint32_t flags = kRgbInit;
  for (const ColorKeyword& keyword : kColorKeywords) {
    if (Has(options, keyword.word)) flags |= keyword.flag;
  }
  return flags;
}

std::string CustomColorText(std::uint32_t color) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text;
  for (int shift = 28; shift >= 0; shift -= 4) {
    const char digit = kDigits[(color >> shift) & 0xF];
    if (text.empty() && digit == '0' && shift >= 24) continue;
    text += digit;
  }
  return text;
}

std::optional<std::uint32_t> ParseCustomColor(std::string_view text) {
  text = TrimView(text);
  if (text.empty() || text.size() > 8) return std::nullopt;
  std::uint32_t value = 0;
  for (char c : text) {
    unsigned digit;
    if (c >= '0' && c <= '9')
      digit = static_cast<unsigned>(c - '0');
    else if (c >= 'A' && c <= 'F')
      digit = static_cast<unsigned>(c - 'A' + 10);
    else if (c >= 'a' && c <= 'f')
      digit = static_cast<unsigned>(c - 'a' + 10);
    else
      return std::nullopt;
    value = value << 4 | digit;
  }
  return value;
}

std::string FilterForDialog(std::string_view filter) {
  if (filter.empty()) return {};
  std::string result(filter);
  for (char& c : result) {
    if (c == '|') c = '\0';
  }
  result.append(2, '\0');
  return result;
}

std::span<const std::string_view> FileDialogKeywords(bool saveDialog) {
  static const std::vector<std::string_view> open =
      WordsOf(kFileKeywords, [](const FileKeyword& keyword) { return keyword.open; });
  static const std::vector<std::string_view> save =
      WordsOf(kFileKeywords, [](const FileKeyword& keyword) { return keyword.save; });
  return saveDialog ? save : open;
}

std::span<const std::string_view> ColorDialogKeywords() {
  static const std::vector<std::string_view> words =
      WordsOf(kColorKeywords, [](const ColorKeyword&) { return true; });
  return words;
}

std::vector<std::string> SelectedFiles(std::string_view buffer, bool multiSelect, bool explorer,
                                       std::size_t fileOffset, const LeadBytes& lead) {
  const std::string_view first = buffer.substr(0, buffer.find('\0'));
  if (first.empty()) return {};
  if (!multiSelect) return {std::string(first)};
  if (fileOffset > 0 && fileOffset <= first.size() && first[fileOffset - 1] != ' ')
    return {std::string(first)};
  std::vector<std::string_view> pieces;
  if (explorer) {
    std::size_t start = 0;
    while (start < buffer.size() && buffer[start] != '\0') {
      const std::size_t end = std::min(buffer.find('\0', start), buffer.size());
      pieces.push_back(buffer.substr(start, end - start));
      start = end + 1;
    }
  } else {
    std::size_t start = 0;
    while (start < first.size()) {
      const std::size_t end = std::min(first.find(' ', start), first.size());
      if (end > start) pieces.push_back(first.substr(start, end - start));
      start = end + 1;
    }
  }
  if (pieces.size() == 1) return {std::string(pieces[0])};
  std::vector<std::string> paths;
  for (std::size_t i = 1; i < pieces.size(); ++i)
    paths.push_back(JoinPath(pieces[0], pieces[i], lead));
  return paths;
}

HelpTopicCall HelpTopic(std::string_view helpFile, std::string_view topic) {
  constexpr std::uint32_t kDisplayTopic = 0x0000, kHelpContext = 0x000F;
  if (const std::optional<std::int32_t> number = ParseInteger(topic))
    return {std::string(helpFile), kHelpContext, static_cast<std::uint32_t>(*number)};
  std::string file(helpFile);
  file += "::\\";
  file += topic;
  return {file, kDisplayTopic, 0};
}
