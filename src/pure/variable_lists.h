// Lists of variable names, the host's variable dump, and line splitting for script files.
// No Windows header here: this builds natively for unit tests.
#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
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

// Case folding under the caller's rules (the user's locale), written into `out`.
using FoldCase = std::function<void(std::string_view text, std::string& out)>;
// The same for code pages where every byte is a character: the folded form of each byte.
using ByteFold = std::array<char, 256>;

// Whole lines of the host's dump, from the start of a variable's line to past the line end of
// the last line that belongs to it (or to a later variable right after it). `crlf` tells that
// every line in it ends in CR LF, so it can be copied as it stands.
struct DumpRange {
  size_t begin = 0, end = 0;
  bool crlf = true;
};

// What the file the host writes for SaveVariables holds for a list, found in one pass over
// it: for each prefix, the lines of the variables whose name begins with it (byte for byte),
// in dump order and with neighbours merged into one range; for each name, whether a variable
// of that name exists, both sides folded alike. The dump is read once and nothing is kept per
// variable, so a list costs a pass over the dump plus a lookup per name and prefix length.
//
// A variable is a line with a non-empty name before its first "=". The host writes a value
// holding line breaks as it is, so the lines after it that have no name (no "=", or "=" first)
// are the rest of that value: they belong to the variable above and are never taken for
// variables themselves. Matching an empty name would otherwise send the host a nameless
// ClearVariables, which clears everything. Only CR and LF end a line: a zero byte is part of
// the value that holds it.
class DumpSearch {
 public:
  // With a byte table names are folded on the fly, copying nothing; without one (multi-byte
  // code pages) each name of the dump goes through `fold`.
  DumpSearch(const std::vector<std::string_view>& prefixes,
             const std::vector<std::string_view>& names, const ByteFold* table, FoldCase fold = {});
  ~DumpSearch();

  // Reads the dump, once; `dump` must be the text the ranges are later applied to.
  void Scan(std::string_view dump);

  // The ranges of the i-th prefix given, and whether the i-th name given exists.
  const std::vector<DumpRange>& Ranges(size_t prefix) const;
  bool Holds(size_t name) const;

 private:
  class KeyTable;
  void Fold(std::string_view text, std::string& out) const;
  // The distinct name that `name` folds to, or none; `folded` is scratch space.
  size_t FindName(std::string_view name, std::string& folded) const;
  // The distinct prefixes `name` begins with.
  void MatchPrefixes(std::string_view name, std::vector<size_t>& hits) const;

  std::vector<std::string> prefixes_, names_;   // distinct, names folded
  std::vector<size_t> prefixSlot_, nameSlot_;   // given index -> distinct index
  std::vector<size_t> prefixLengths_;           // distinct, ascending
  std::vector<std::vector<DumpRange>> ranges_;  // per distinct prefix
  std::vector<unsigned char> held_;             // per distinct name
  const ByteFold* table_;
  FoldCase fold_;
  std::unique_ptr<KeyTable> prefixTable_, nameTable_;
};

// Appends the lines of `range`, each followed by CR LF whatever line end it had.
void AppendDumpLines(std::string_view dump, DumpRange range, std::string& out);

// The names of the variables whose lines `text` holds, in order.
std::vector<std::string_view> DumpNames(std::string_view text);
