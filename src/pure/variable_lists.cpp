#include "pure/variable_lists.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <numeric>
#include <unordered_map>
#include <utility>

#include "pure/text.h"

namespace {

// The first CR, LF or zero byte at or after `at`, or the size of the text. Eight bytes at a
// time: a dump runs to megabytes, and testing each byte against three values is what
// reading it costs.
size_t FindStop(std::string_view text, size_t at) {
  constexpr std::uint64_t kOnes = 0x0101010101010101ull, kHighs = 0x8080808080808080ull;
  const auto hasZeroByte = [](std::uint64_t v) { return (v - kOnes) & ~v & kHighs; };
  while (text.size() - at >= 8) {
    std::uint64_t word;
    std::memcpy(&word, text.data() + at, 8);
    if (hasZeroByte(word) | hasZeroByte(word ^ (kOnes * '\r')) | hasZeroByte(word ^ (kOnes * '\n')))
      break;
    at += 8;
  }
  while (at < text.size() && text[at] != '\r' && text[at] != '\n' && text[at] != '\0') ++at;
  return at;
}

// Walks the lines of a text: a line ends at CR LF, a lone CR or a lone LF, a final line end
// adds no empty line, and the text ends at its first zero byte.
class LineCursor {
 public:
  explicit LineCursor(std::string_view text) : text_(text) {}

  // The next line, or false at the end. With `equals`, also the offset of the line's first
  // "=" (npos when it has none), found on the way.
  bool Next(std::string_view& line, size_t* equals = nullptr) {
    if (start_ >= text_.size() || text_[start_] == '\0') return false;
    size_t at = start_;
    if (equals) {
      *equals = std::string_view::npos;
      while (at < text_.size() && text_[at] != '=' && text_[at] != '\r' && text_[at] != '\n' &&
             text_[at] != '\0')
        ++at;
      if (at < text_.size() && text_[at] == '=') {
        *equals = at - start_;
        at = FindStop(text_, at + 1);
      }
    } else {
      at = FindStop(text_, start_);
    }
    line = text_.substr(start_, at - start_);
    if (at >= text_.size() || text_[at] == '\0')
      start_ = text_.size();
    else
      start_ = at + (text_[at] == '\r' && at + 1 < text_.size() && text_[at + 1] == '\n' ? 2 : 1);
    return true;
  }

 private:
  std::string_view text_;
  size_t start_ = 0;
};

}  // namespace

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  LineCursor cursor(text);
  for (std::string_view line; cursor.Next(line);) lines.push_back(line);
  return lines;
}

std::vector<std::string> SplitNameList(std::string_view list) {
  std::vector<std::string> items = SplitText(",", ReplaceAll(list, "|", ","));
  for (auto& item : items) item = std::string(TrimView(item));
  return items;
}

VariableDump::VariableDump(std::string_view text) {
  // A hint, not a bound: dump lines are rarely shorter, and reserved pages cost nothing
  // until they are used.
  entries_.reserve(text.size() / 24);
  LineCursor cursor(text);
  size_t equals = 0;
  for (std::string_view line; cursor.Next(line, &equals);) {
    const std::string_view name = line.substr(0, equals == std::string_view::npos ? 0 : equals);
    if (!name.empty()) {
      entries_.push_back({name, line, 1});
    } else if (!entries_.empty()) {
      Entry& owner = entries_.back();
      owner.text =
          std::string_view(owner.text.data(), line.data() + line.size() - owner.text.data());
      ++owner.lineCount;
    }
  }
}

std::vector<std::vector<size_t>> VariableDump::MatchPrefixes(
    const std::vector<std::string_view>& prefixes) const {
  std::vector<std::vector<size_t>> found(prefixes.size());
  // Each distinct prefix once; the empty one matches everything.
  std::unordered_map<std::string_view, size_t> slots;
  std::vector<size_t> lengths;
  std::vector<std::vector<size_t>> matches;
  for (const auto prefix : prefixes) {
    if (!prefix.empty() && slots.emplace(prefix, matches.size()).second) {
      matches.emplace_back();
      if (std::find(lengths.begin(), lengths.end(), prefix.size()) == lengths.end())
        lengths.push_back(prefix.size());
    }
  }
  // Few distinct lengths (the usual case): one hash lookup per length and entry. Many
  // lengths: one sort of the names, then a binary search per prefix.
  constexpr size_t kMostLengths = 8;
  if (lengths.size() <= kMostLengths) {
    for (size_t i = 0; i < entries_.size(); ++i) {
      const std::string_view name = entries_[i].name;
      for (const size_t length : lengths) {
        if (length > name.size()) continue;
        const auto slot = slots.find(name.substr(0, length));
        if (slot != slots.end()) matches[slot->second].push_back(i);
      }
    }
  } else if (!slots.empty()) {
    std::vector<size_t> byName(entries_.size());
    std::iota(byName.begin(), byName.end(), size_t{0});
    std::sort(byName.begin(), byName.end(),
              [this](size_t a, size_t b) { return entries_[a].name < entries_[b].name; });
    for (const auto& [prefix, slot] : slots) {
      auto at = std::lower_bound(
          byName.begin(), byName.end(), prefix,
          [this](size_t index, std::string_view key) { return entries_[index].name < key; });
      auto& list = matches[slot];
      for (; at != byName.end() && entries_[*at].name.starts_with(prefix); ++at)
        list.push_back(*at);
      std::sort(list.begin(), list.end());
    }
  }
  for (size_t i = 0; i < prefixes.size(); ++i) {
    if (prefixes[i].empty()) {
      found[i].resize(entries_.size());
      std::iota(found[i].begin(), found[i].end(), size_t{0});
    } else {
      found[i] = matches[slots.at(prefixes[i])];
    }
  }
  return found;
}

size_t VariableDump::AppendedSize(size_t index) const {
  const Entry& entry = entries_[index];
  return entry.text.size() + 2 * entry.lineCount;
}

void VariableDump::AppendEntry(size_t index, std::string& out) const {
  const Entry& entry = entries_[index];
  if (entry.lineCount == 1) {
    out.append(entry.text).append("\r\n");
    return;
  }
  // A value that ended in a line break leaves empty lines that the cursor does not report.
  LineCursor cursor(entry.text);
  size_t written = 0;
  for (std::string_view line; written < entry.lineCount && cursor.Next(line); ++written)
    out.append(line).append("\r\n");
  for (; written < entry.lineCount; ++written) out.append("\r\n");
}

std::unordered_set<std::string> FoldedNamesPresent(const VariableDump& dump,
                                                   const std::vector<std::string_view>& wanted,
                                                   const FoldCase& fold) {
  std::unordered_set<std::string> keys, present;
  std::string folded;
  for (const auto name : wanted) {
    if (name.empty()) continue;
    fold(name, folded);
    keys.insert(folded);
  }
  for (const auto& entry : dump.entries()) {
    if (present.size() == keys.size()) break;
    fold(entry.name, folded);
    if (keys.count(folded)) present.insert(folded);
  }
  return present;
}

std::unordered_set<std::string> FoldedNamesPresent(const VariableDump& dump,
                                                   const std::vector<std::string_view>& wanted,
                                                   const ByteFold& fold) {
  // FNV-1a over the folded bytes; keys are folded already, dump names on the way.
  const auto hash = [&fold](std::string_view text, bool folded) {
    std::uint64_t h = 14695981039346656037ull;
    for (const char c : text) {
      const char byte = folded ? c : fold[static_cast<unsigned char>(c)];
      h = (h ^ static_cast<unsigned char>(byte)) * 1099511628211ull;
    }
    return h;
  };
  std::unordered_set<std::string> distinct;
  for (const auto name : wanted) {
    if (name.empty()) continue;
    std::string folded(name);
    for (char& c : folded) c = fold[static_cast<unsigned char>(c)];
    distinct.insert(std::move(folded));
  }
  std::unordered_multimap<std::uint64_t, std::string> keys;
  for (const auto& key : distinct) keys.emplace(hash(key, true), key);
  std::unordered_set<std::string> present;
  for (const auto& entry : dump.entries()) {
    if (present.size() == keys.size()) break;
    const auto [first, last] = keys.equal_range(hash(entry.name, false));
    for (auto at = first; at != last; ++at) {
      const std::string& key = at->second;
      if (key.size() != entry.name.size() || present.count(key)) continue;
      bool same = true;
      for (size_t i = 0; same && i < key.size(); ++i)
        same = key[i] == fold[static_cast<unsigned char>(entry.name[i])];
      if (same) present.insert(key);
    }
  }
  return present;
}
