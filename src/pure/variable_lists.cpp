#include "pure/variable_lists.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <unordered_map>
#include <utility>

#include "pure/text.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// The first CR, LF, zero byte when `zeroStops` (or, with `equals`, also "=") at or after `at`,
// or the size of the text. A dump runs to megabytes and testing each byte is what reading it costs,
// so sixteen bytes are tested at once where the processor has SSE2, else eight in a register.
size_t FindStop(std::string_view text, size_t at, bool zeroStops, bool equals = false) {
  const char* const data = text.data();
#if defined(__SSE2__)
  const __m128i cr = _mm_set1_epi8('\r'), lf = _mm_set1_epi8('\n');
  const __m128i zero = _mm_set1_epi8(zeroStops ? '\0' : '\r');
  const __m128i eq = _mm_set1_epi8(equals ? '=' : '\r');
  while (text.size() - at >= 16) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + at));
    const __m128i stops =
        _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(block, cr), _mm_cmpeq_epi8(block, lf)),
                     _mm_or_si128(_mm_cmpeq_epi8(block, zero), _mm_cmpeq_epi8(block, eq)));
    if (const int mask = _mm_movemask_epi8(stops)) return at + std::countr_zero(unsigned(mask));
    at += 16;
  }
#else
  constexpr std::uint64_t kOnes = 0x0101010101010101ull, kHighs = 0x8080808080808080ull;
  const auto hasZeroByte = [](std::uint64_t v) { return (v - kOnes) & ~v & kHighs; };
  const std::uint64_t eq = kOnes * static_cast<unsigned char>(equals ? '=' : '\r');
  while (text.size() - at >= 8) {
    std::uint64_t word;
    std::memcpy(&word, data + at, 8);
    if ((zeroStops && hasZeroByte(word)) | hasZeroByte(word ^ (kOnes * '\r')) |
        hasZeroByte(word ^ (kOnes * '\n')) | hasZeroByte(word ^ eq))
      break;
    at += 8;
  }
#endif
  while (at < text.size() && data[at] != '\r' && data[at] != '\n' &&
         (!zeroStops || data[at] != '\0') && (!equals || data[at] != '='))
    ++at;
  return at;
}

// Walks the lines of a text: a line ends at CR LF, a lone CR or a lone LF, and a final line
// end adds no empty line. A script file ends at its first zero byte; in the host's dump a
// zero byte is part of a value, and stopping there would lose every variable after it.
class LineCursor {
 public:
  LineCursor(std::string_view text, bool zeroEnds) : text_(text), zeroEnds_(zeroEnds) {}

  // The next line, or false at the end. With `equals`, also the offset of the line's first
  // "=" (npos when it has none), found on the way.
  bool Next(std::string_view& line, size_t* equals = nullptr) {
    if (start_ >= text_.size() || (zeroEnds_ && text_[start_] == '\0')) return false;
    size_t at = start_;
    if (equals) {
      *equals = std::string_view::npos;
      at = FindStop(text_, at, zeroEnds_, true);
      if (at < text_.size() && text_[at] == '=') {
        *equals = at - start_;
        at = FindStop(text_, at + 1, zeroEnds_);
      }
    } else {
      at = FindStop(text_, start_, zeroEnds_);
    }
    line = text_.substr(start_, at - start_);
    if (at >= text_.size() || (zeroEnds_ && text_[at] == '\0')) {
      // The text ends here: a range that ends with this line must not reach past the zero.
      text_ = text_.substr(0, at);
      start_ = at;
    } else {
      start_ = at + (text_[at] == '\r' && at + 1 < text_.size() && text_[at + 1] == '\n' ? 2 : 1);
    }
    return true;
  }

  // Where the next line starts: past the line end of the line just read.
  size_t offset() const { return start_; }

 private:
  std::string_view text_;
  bool zeroEnds_;
  size_t start_ = 0;
};

}  // namespace

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  LineCursor cursor(text, true);
  for (std::string_view line; cursor.Next(line);) lines.push_back(line);
  return lines;
}

std::vector<std::string> SplitNameList(std::string_view list) {
  std::vector<std::string> items = SplitText(",", ReplaceAll(list, "|", ","));
  for (auto& item : items) item = std::string(TrimView(item));
  return items;
}

namespace {

// A hash taken eight bytes at a time. The state after each whole word is kept apart from
// the finish, so that every prefix length of one name costs a finish, not a pass.
class WordHash {
 public:
  void Add(const char* word) {
    std::uint64_t w;
    std::memcpy(&w, word, 8);
    state_ = std::rotl((state_ ^ w) * kMultiplier, 29);
  }
  // The hash of the words added so far followed by the first `tail` (< 8) bytes at `rest`,
  // `length` bytes in all. The tail is read as two overlapping pieces, not byte by byte;
  // mixing in the length keeps tails of different lengths apart.
  std::uint64_t Finish(const char* rest, size_t tail, size_t length) const {
    std::uint64_t w = 0;
    if (tail >= 4) {
      std::uint32_t head, last;
      std::memcpy(&head, rest, 4);
      std::memcpy(&last, rest + tail - 4, 4);
      w = head | (static_cast<std::uint64_t>(last) << ((tail - 4) * 8));
    } else if (tail > 0) {
      w = static_cast<unsigned char>(rest[0]) | static_cast<unsigned char>(rest[tail / 2]) << 8 |
          static_cast<unsigned char>(rest[tail - 1]) << 16;
    }
    std::uint64_t h = (state_ ^ w ^ (static_cast<std::uint64_t>(length) << 56)) * kMultiplier;
    return h ^ (h >> 31);
  }

 private:
  static constexpr std::uint64_t kMultiplier = 0x9E3779B97F4A7C15ull;
  std::uint64_t state_ = 0x243F6A8885A308D3ull;
};

std::uint64_t HashOf(std::string_view text) {
  WordHash hash;
  size_t at = 0;
  for (; text.size() - at >= 8; at += 8) hash.Add(text.data() + at);
  return hash.Finish(text.data() + at, text.size() - at, text.size());
}

constexpr size_t kNone = static_cast<size_t>(-1);

}  // namespace

// Distinct keys found by a hash the caller computes. Linear probing in a table at most a
// quarter full; keys with equal hashes are told apart by the caller's comparison.
class DumpSearch::KeyTable {
 public:
  explicit KeyTable(const std::vector<std::string>& keys) {
    size_t capacity = 16;
    while (capacity < 4 * keys.size()) capacity *= 2;
    mask_ = capacity - 1;
    slots_.assign(capacity, Slot{0, kNone});
    for (size_t key = 0; key < keys.size(); ++key) {
      const std::uint64_t hash = HashOf(keys[key]);
      size_t at = Start(hash);
      while (slots_[at].key != kNone) at = (at + 1) & mask_;
      slots_[at] = {hash, key};
    }
  }

  // The key with this hash that `same` accepts, or kNone.
  template <class Same>
  size_t Find(std::uint64_t hash, const Same& same) const {
    for (size_t at = Start(hash); slots_[at].key != kNone; at = (at + 1) & mask_)
      if (slots_[at].hash == hash && same(slots_[at].key)) return slots_[at].key;
    return kNone;
  }

 private:
  struct Slot {
    std::uint64_t hash;
    size_t key;
  };
  size_t Start(std::uint64_t hash) const { return static_cast<size_t>(hash >> 32) & mask_; }

  std::vector<Slot> slots_;
  size_t mask_ = 0;
};

DumpSearch::DumpSearch(const std::vector<std::string_view>& prefixes,
                       const std::vector<std::string_view>& names, const ByteFold* table,
                       FoldCase fold)
    : table_(table), fold_(std::move(fold)) {
  std::unordered_map<std::string, size_t> distinct;
  for (const auto prefix : prefixes) {
    const auto [at, added] = distinct.emplace(prefix, prefixes_.size());
    if (added) prefixes_.emplace_back(prefix);
    prefixSlot_.push_back(at->second);
  }
  for (const auto& prefix : prefixes_) prefixLengths_.push_back(prefix.size());
  std::sort(prefixLengths_.begin(), prefixLengths_.end());
  prefixLengths_.erase(std::unique(prefixLengths_.begin(), prefixLengths_.end()),
                       prefixLengths_.end());
  distinct.clear();
  std::string folded;
  for (const auto name : names) {
    if (name.empty()) {
      nameSlot_.push_back(kNone);
      continue;
    }
    Fold(name, folded);
    const auto [at, added] = distinct.emplace(folded, names_.size());
    if (added) names_.push_back(folded);
    nameSlot_.push_back(at->second);
  }
  ranges_.resize(prefixes_.size());
  held_.assign(names_.size(), 0);
  prefixTable_ = std::make_unique<KeyTable>(prefixes_);
  nameTable_ = std::make_unique<KeyTable>(names_);
}

DumpSearch::~DumpSearch() = default;

void DumpSearch::Fold(std::string_view text, std::string& out) const {
  if (!table_) {
    fold_(text, out);
    return;
  }
  out.resize(text.size());
  for (size_t i = 0; i < text.size(); ++i) out[i] = (*table_)[static_cast<unsigned char>(text[i])];
}

size_t DumpSearch::FindName(std::string_view name, std::string& folded) const {
  if (!table_) {
    fold_(name, folded);
    return nameTable_->Find(HashOf(folded), [&](size_t k) { return names_[k] == folded; });
  }
  // Folded and hashed eight bytes at a time, copying nothing: this runs for every variable.
  const ByteFold& table = *table_;
  const auto foldInto = [&table](const char* from, size_t count, char* to) {
    for (size_t i = 0; i < count; ++i) to[i] = table[static_cast<unsigned char>(from[i])];
  };
  WordHash hash;
  char word[8];
  size_t at = 0;
  for (; name.size() - at >= 8; at += 8) {
    foldInto(name.data() + at, 8, word);
    hash.Add(word);
  }
  foldInto(name.data() + at, name.size() - at, word);
  return nameTable_->Find(hash.Finish(word, name.size() - at, name.size()), [&](size_t k) {
    const std::string& wanted = names_[k];
    if (wanted.size() != name.size()) return false;
    for (size_t i = 0; i < wanted.size(); ++i)
      if (wanted[i] != table[static_cast<unsigned char>(name[i])]) return false;
    return true;
  });
}

void DumpSearch::MatchPrefixes(std::string_view name, std::vector<size_t>& hits) const {
  hits.clear();
  WordHash hash;
  size_t words = 0;
  for (const size_t length : prefixLengths_) {
    if (length > name.size()) break;
    for (; (words + 1) * 8 <= length; ++words) hash.Add(name.data() + words * 8);
    const size_t key =
        prefixTable_->Find(hash.Finish(name.data() + words * 8, length - words * 8, length),
                           [&](size_t k) { return name.starts_with(prefixes_[k]); });
    if (key != kNone) hits.push_back(key);
  }
}

void DumpSearch::Scan(std::string_view dump) {
  size_t missing = names_.size();
  if (prefixes_.empty() && missing == 0) return;
  // The prefixes the current variable's name begins with: the lines that follow it without a
  // name of their own extend their ranges.
  std::vector<size_t> hits, open;
  std::string folded;
  LineCursor cursor(dump, false);
  size_t equals = 0;
  for (std::string_view line; cursor.Next(line, &equals);) {
    const size_t begin = static_cast<size_t>(line.data() - dump.data());
    const size_t end = cursor.offset();
    const bool crlf = end - (begin + line.size()) == 2;
    if (equals == std::string_view::npos || equals == 0) {
      for (const size_t key : open) {
        DumpRange& range = ranges_[key].back();
        range.end = end;
        range.crlf = range.crlf && crlf;
      }
      continue;
    }
    const std::string_view name = line.substr(0, equals);
    MatchPrefixes(name, open);
    for (const size_t key : open) {
      auto& list = ranges_[key];
      if (!list.empty() && list.back().end == begin) {
        list.back().end = end;
        list.back().crlf = list.back().crlf && crlf;
      } else {
        list.push_back({begin, end, crlf});
      }
    }
    if (missing == 0) continue;
    const size_t key = FindName(name, folded);
    if (key != kNone && !held_[key]) {
      held_[key] = 1;
      if (--missing == 0 && prefixes_.empty()) return;
    }
  }
}

const std::vector<DumpRange>& DumpSearch::Ranges(size_t prefix) const {
  return ranges_[prefixSlot_[prefix]];
}

bool DumpSearch::Holds(size_t name) const {
  const size_t key = nameSlot_[name];
  return key != kNone && held_[key];
}

void AppendDumpLines(std::string_view dump, DumpRange range, std::string& out) {
  const std::string_view lines = dump.substr(range.begin, range.end - range.begin);
  if (range.crlf) {
    out.append(lines);
    return;
  }
  LineCursor cursor(lines, false);
  for (std::string_view line; cursor.Next(line);) out.append(line).append("\r\n");
}

std::vector<std::string_view> DumpNames(std::string_view text) {
  std::vector<std::string_view> names;
  LineCursor cursor(text, false);
  size_t equals = 0;
  for (std::string_view line; cursor.Next(line, &equals);)
    if (equals != std::string_view::npos && equals > 0) names.push_back(line.substr(0, equals));
  return names;
}
