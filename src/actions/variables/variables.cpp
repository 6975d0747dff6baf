// kxSetVar, kxClearVariables, kxSaveVariables: the host's variables in bulk. The plug-in keeps
// no variables of its own; it learns which exist by having the host dump them all to a file.
#include <algorithm>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "actions/actions.h"
#include "core/failures.h"
#include "core/host_io.h"
#include "core/random.h"
#include "pure/text.h"
#include "pure/variable_lists.h"

namespace {

// The largest file kxSaveVariables builds from pieces (one stretch of the host's dump is
// written as it is, whatever its size): as kxDupeStr's limit, far above a real selection.
constexpr std::uint64_t kMaxSavedBytes = 256ull << 20;
// kxSetVar's limits for one call, far above anything a publication needs: the number of
// variables it assigns and the bytes of all their values together.
constexpr std::uint64_t kMaxAssignments = 1000000;
constexpr std::uint64_t kMaxAssignedBytes = 256ull << 20;

void HostSaveVariables(std::string_view path) {
  PlayScript("SaveVariables \"" + EscapeScriptParameter(path) + "\"");
}

// Every variable the host has, in its own order, as the text of the file the host dumps them
// into. A dump the host did not write reads as empty. The temporary file is removed on every
// path: as the mapping closes, or by its owner, which goes last, when the system did not
// allow deletion on close.
class HostDump {
 public:
  HostDump() : bytes_(RequestDump(temp_), true) {
    if (bytes_.deletesOnClose()) temp_.Release();
  }
  std::string_view text() const { return bytes_.text(); }

 private:
  static std::string_view RequestDump(const TempFile& temp) {
    HostSaveVariables(temp.path());
    return temp.path();
  }

  TempFile temp_{MakeTempFilePath("")};
  FileBytes bytes_;
};

// The prefixes of the wildcard items in list order, so that all of them are matched in one
// pass over the dump; the k-th wildcard item's matches are then the k-th list.
std::vector<std::string_view> WildcardPrefixes(const std::vector<std::string>& items) {
  std::vector<std::string_view> prefixes;
  for (const auto& item : items)
    if (IsWildcard(item)) prefixes.push_back(WildcardPrefix(item));
  return prefixes;
}

// Lower case under the user's locale, so that names compare as the user expects. In a
// single-byte code page every byte is a character, and one call maps all 255 of them into a
// table; a multi-byte code page maps each name.
class LocaleFold {
 public:
  LocaleFold() {
    CPINFO info{};
    char bytes[255];
    for (int i = 0; i < 255; ++i) bytes[i] = static_cast<char>(i + 1);
    singleByte_ = GetCPInfo(CP_ACP, &info) && info.MaxCharSize == 1 &&
                  LCMapStringA(LOCALE_USER_DEFAULT, LCMAP_LOWERCASE, bytes, 255, table_.data() + 1,
                               255) == 255;
  }

  // The byte table, or null in a multi-byte code page.
  const ByteFold* table() const { return singleByte_ ? &table_ : nullptr; }

  void operator()(std::string_view text, std::string& out) const {
    out.assign(text);
    if (singleByte_) {
      for (char& c : out) c = table_[static_cast<unsigned char>(c)];
      return;
    }
    const int length = static_cast<int>(text.size());
    if (length == 0) return;
    const int needed =
        LCMapStringA(LOCALE_USER_DEFAULT, LCMAP_LOWERCASE, text.data(), length, nullptr, 0);
    if (needed <= 0) return;
    out.resize(static_cast<size_t>(needed));
    const int written =
        LCMapStringA(LOCALE_USER_DEFAULT, LCMAP_LOWERCASE, text.data(), length, out.data(), needed);
    if (written <= 0) out.assign(text);
  }

 private:
  bool singleByte_ = false;
  ByteFold table_{};
};

}  // namespace

// Names (split at "," and kept untrimmed, so a leading blank reaches the host) get values
// split at the separator ("|" when it is blank): pairwise when the counts agree, one value to
// every name, or else every name becomes an array name0, name1 ... holding all the values.
// A blank name list or value list is invalid: a single empty value cannot be assigned.
bool RunSetVar(const ActionCall& call) {
  const std::string nameList = call.Param(0);
  const std::string valueList = call.Param(1);
  if (IsBlank(nameList) || IsBlank(valueList)) return ReportInvalidArguments(call);
  const std::string given = call.Param(2);
  const std::string_view separator = IsBlank(given) ? std::string_view("|") : given;
  const auto names = SplitText(",", nameList);
  const auto values = SplitText(separator, valueList);
  // Every name times every value can ask the host to hold gigabytes or run for hours; such a
  // request is refused before anything is assigned rather than take the publication down.
  if (values.size() != names.size()) {
    std::uint64_t bytes = 0;
    for (const auto& value : values) bytes += value.size();
    const std::uint64_t assignments =
        values.size() == 1 ? names.size() : std::uint64_t{names.size()} * values.size();
    if (assignments > kMaxAssignments || bytes * names.size() > kMaxAssignedBytes)
      return ReportInvalidArguments(call);
  }
  if (values.size() == names.size()) {
    for (size_t i = 0; i < names.size(); ++i) SetResultVariable(names[i], values[i]);
  } else if (values.size() == 1) {
    for (const auto& name : names) SetResultVariable(name, values[0]);
  } else {
    for (size_t i = 0; i < values.size(); ++i)
      for (const auto& name : names) SetIndexedVariable(static_cast<int>(i), name, values[i]);
  }
  return true;
}

// Items are names, or prefixes ending in "*" matched byte for byte against the host's dump.
// A blank list clears every variable through the host's nameless ClearVariables. An empty
// item inside a longer list ("a,,b", a trailing comma) is skipped: passed on, it would be
// that same nameless command and wipe every variable of the publication.
bool RunClearVariables(const ActionCall& call) {
  const std::string list = call.Param(0);
  if (IsBlank(list)) {
    ClearHostVariable("");
    return true;
  }
  const auto items = SplitNameList(list);
  // The dump is taken at the first wildcard, after the names before it are cleared, and
  // serves every wildcard of the list.
  std::optional<HostDump> dump;
  std::optional<DumpSearch> search;
  // Each name goes to the host once: a list that repeats "*" or a name thousands of times
  // would otherwise cost two host scripts per repeat and per variable, and keep the
  // publication waiting for minutes. The views point into `items` and the dump.
  std::unordered_set<std::string_view> cleared;
  // A name holding a zero byte cannot be put into script text: cut there, it would name
  // another variable, or none, which clears them all.
  const auto clearOnce = [&cleared](std::string_view name) {
    if (name.find('\0') == std::string_view::npos && cleared.insert(name).second)
      ClearHostVariable(name);
  };
  // The dump's names in dump order, read once: a range's names are then found by offset
  // instead of reading its lines again, which for "*" is the whole dump each time.
  std::vector<std::string_view> dumpNames;
  std::unordered_set<std::string_view> prefixesDone;
  size_t wildcard = 0;
  for (const auto& item : items) {
    if (!IsWildcard(item)) {
      if (!item.empty()) clearOnce(item);
      continue;
    }
    if (!dump) {
      dump.emplace();
      search.emplace(WildcardPrefixes(items), std::vector<std::string_view>{}, nullptr);
      search->Scan(dump->text());
      dumpNames = DumpNames(dump->text());
    }
    const auto& ranges = search->Ranges(wildcard++);
    if (!prefixesDone.insert(WildcardPrefix(item)).second) continue;
    const char* const base = dump->text().data();
    for (const DumpRange& range : ranges) {
      auto at = std::lower_bound(dumpNames.begin(), dumpNames.end(), range.begin,
                                 [base](std::string_view name, size_t offset) {
                                   return static_cast<size_t>(name.data() - base) < offset;
                                 });
      for (; at != dumpNames.end() && static_cast<size_t>(at->data() - base) < range.end; ++at)
        clearOnce(*at);
    }
  }
  return true;
}

// A blank list hands the whole job to the host's SaveVariables. Otherwise each item adds,
// in list order and without de-duplication: for a "*" prefix, the matching dump lines in
// the host's order; for a name the dump holds (case-insensitively, user's locale), the name
// as written with its current value. Every line ends in CR LF. Nothing matched leaves the
// file alone. A file that cannot be written is reported in LastError with a false result,
// and the author's old file stays whole.
bool RunSaveVariables(const ActionCall& call) {
  const std::string list = call.Param(0);
  const std::string path = call.Param(1);
  // Not handed to the host either: it would open the device and write to it, and a serial
  // port takes its time.
  if (const FileFailure failure = RefuseDevice(path, true)) return ReportFileFailure("", failure);
  if (IsBlank(list)) {
    HostSaveVariables(path);
    return true;
  }
  const auto items = SplitNameList(list);
  const HostDump dump;
  std::vector<std::string_view> names;
  for (const auto& item : items)
    if (!IsWildcard(item)) names.push_back(item);
  const LocaleFold fold;
  DumpSearch search(WildcardPrefixes(items), names, fold.table(),
                    fold.table() ? FoldCase() : FoldCase(std::cref(fold)));
  search.Scan(dump.text());
  // What the items bring, counted first: the size of the result, and whether it is one
  // stretch of the dump ("*" mostly) that can be written from the host's bytes as they are.
  // Counted in 64 bits: a list that repeats "*" can ask for more than a 32-bit size holds.
  std::uint64_t size = 0;
  size_t pieces = 0, wildcard = 0, name = 0;
  const DumpRange* stretch = nullptr;
  for (const auto& item : items) {
    if (IsWildcard(item)) {
      for (const DumpRange& range : search.Ranges(wildcard++)) {
        size += range.end - range.begin;
        ++pieces;
        stretch = &range;
      }
    } else if (search.Holds(name++)) {
      ++pieces;
    }
  }
  if (pieces == 0) return true;
  if (pieces == 1 && stretch && stretch->crlf) {
    const std::string_view bytes =
        dump.text().substr(stretch->begin, stretch->end - stretch->begin);
    if (const FileFailure failure = WriteAll(path, bytes)) return ReportFileFailure("", failure);
    return true;
  }
  // Refused before anything is built: a list repeating "*" can ask for gigabytes, and copying
  // them only to run out of memory would keep the publication waiting.
  if (size > kMaxSavedBytes) return ReportSystemError("", ERROR_FILE_TOO_LARGE);
  std::string out;
  out.reserve(static_cast<size_t>(size));
  wildcard = name = 0;
  for (const auto& item : items) {
    if (IsWildcard(item)) {
      for (const DumpRange& range : search.Ranges(wildcard++))
        AppendDumpLines(dump.text(), range, out);
    } else if (search.Holds(name++)) {
      out.append(item).append("=").append(GetHostVariable(item)).append("\r\n");
    }
  }
  if (const FileFailure failure = WriteAll(path, out)) return ReportFileFailure("", failure);
  return true;
}
