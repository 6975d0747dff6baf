// Lists of variable names, the host's variable dump, and line splitting for script files.
// No Windows header here: this builds natively for unit tests.
#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

// A line ends at CR LF, a lone CR or a lone LF; the ends are not part of the lines. A final
// line end adds no empty line, and the text stops at its first zero byte. The views point
// into `text`.
std::vector<std::string_view> SplitLines(std::string_view text);

// Items of a clear or save list: "," and "|" both separate, every item trimmed.
std::vector<std::string> SplitNameList(std::string_view list);

// An item with a "*" anywhere stands for every name that begins with the item less its last
// character, whatever that character is.
inline bool IsWildcard(std::string_view item) { return item.find('*') != std::string_view::npos; }
inline std::string_view WildcardPrefix(std::string_view item) {
  return item.substr(0, item.empty() ? 0 : item.size() - 1);
}

// The file the host writes for SaveVariables, indexed in one pass so that a whole list of
// items costs a pass over the dump rather than a pass per item.
//
// A variable is a line with a non-empty name before its first "=". The host writes a value
// holding line breaks as it is, so the lines after it that have no name (no "=", or "=" first)
// are the rest of that value: they belong to the variable above and are never taken for
// variables themselves. Matching an empty name would otherwise send the host a nameless
// ClearVariables, which clears everything.
class VariableDump {
 public:
  struct Entry {
    std::string_view name;
    std::string_view text;  // from the name to the end of its last line, line ends inside
    size_t lineCount = 0;
  };

  // The entries point into `text`, which must outlive the dump.
  explicit VariableDump(std::string_view text);

  const std::vector<Entry>& entries() const { return entries_; }

  // For each prefix, the indices of the entries whose name begins with it (byte for byte),
  // in dump order.
  std::vector<std::vector<size_t>> MatchPrefixes(
      const std::vector<std::string_view>& prefixes) const;

  // Appends the entry's lines, each followed by CR LF.
  void AppendEntry(size_t index, std::string& out) const;
  // At least the number of bytes AppendEntry adds.
  size_t AppendedSize(size_t index) const;

 private:
  std::vector<Entry> entries_;
};

// Case folding under the caller's rules (the user's locale), written into `out`.
using FoldCase = std::function<void(std::string_view text, std::string& out)>;
// The same for code pages where every byte is a character: the folded form of each byte.
using ByteFold = std::array<char, 256>;

// The folded forms of those `wanted` names that name a variable of the dump, both sides
// folded alike. Only the wanted names are kept in a table, so the dump costs one fold and
// one lookup per variable; with a byte table the fold is hashed on the fly, copying nothing.
std::unordered_set<std::string> FoldedNamesPresent(const VariableDump& dump,
                                                   const std::vector<std::string_view>& wanted,
                                                   const FoldCase& fold);
std::unordered_set<std::string> FoldedNamesPresent(const VariableDump& dump,
                                                   const std::vector<std::string_view>& wanted,
                                                   const ByteFold& fold);
