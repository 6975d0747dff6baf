// The one-pass matcher of the variable actions against a slow reading of the host's dump:
// every line split by hand, every prefix and name compared one by one.
#include "pure/variable_lists.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

struct Line {
  size_t begin, end;  // end: past the line end
  bool crlf;
  std::string_view text;
};

// A zero byte is part of its line: values can hold one.
std::vector<Line> ReadLines(std::string_view dump) {
  std::vector<Line> lines;
  size_t at = 0;
  while (at < dump.size()) {
    size_t stop = at;
    while (stop < dump.size() && dump[stop] != '\r' && dump[stop] != '\n') ++stop;
    size_t next = stop;
    bool crlf = false;
    if (stop < dump.size()) {
      crlf = dump[stop] == '\r' && stop + 1 < dump.size() && dump[stop + 1] == '\n';
      next = stop + (crlf ? 2 : 1);
    }
    lines.push_back({at, next, crlf, dump.substr(at, stop - at)});
    at = next;
  }
  return lines;
}

std::string Fold(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  const bool byTable = input.ConsumeBool();
  std::vector<std::string> prefixTexts, nameTexts;
  for (int i = input.ConsumeIntegralInRange(0, 6); i > 0; --i)
    prefixTexts.push_back(input.ConsumeRandomLengthString(12));
  for (int i = input.ConsumeIntegralInRange(0, 6); i > 0; --i)
    nameTexts.push_back(input.ConsumeRandomLengthString(12));
  const std::string dump = input.ConsumeRemainingBytesAsString();

  std::vector<std::string_view> prefixes(prefixTexts.begin(), prefixTexts.end());
  std::vector<std::string_view> names(nameTexts.begin(), nameTexts.end());
  static const ByteFold kTable = [] {
    ByteFold table{};
    for (int b = 0; b < 256; ++b) table[b] = static_cast<char>(std::tolower(b));
    return table;
  }();
  DumpSearch search(prefixes, names, byTable ? &kTable : nullptr,
                    [](std::string_view text, std::string& out) { out = Fold(text); });
  search.Scan(dump);

  // The slow reading: a line with a name before its first "=" starts a variable; lines
  // without one belong to the variable above.
  const std::vector<Line> lines = ReadLines(dump);
  std::vector<std::vector<DumpRange>> ranges(prefixes.size());
  std::vector<bool> held(names.size(), false);
  std::vector<bool> open(prefixes.size(), false);
  std::vector<std::string_view> dumpNames;
  for (const Line& line : lines) {
    const size_t equals = line.text.find('=');
    if (equals == std::string_view::npos || equals == 0) {
      for (size_t p = 0; p < prefixes.size(); ++p)
        if (open[p]) {
          ranges[p].back().end = line.end;
          ranges[p].back().crlf = ranges[p].back().crlf && line.crlf;
        }
      continue;
    }
    const std::string_view name = line.text.substr(0, equals);
    dumpNames.push_back(name);
    for (size_t p = 0; p < prefixes.size(); ++p) {
      open[p] = name.starts_with(prefixes[p]);
      if (!open[p]) continue;
      if (!ranges[p].empty() && ranges[p].back().end == line.begin) {
        ranges[p].back().end = line.end;
        ranges[p].back().crlf = ranges[p].back().crlf && line.crlf;
      } else {
        ranges[p].push_back({line.begin, line.end, line.crlf});
      }
    }
    for (size_t n = 0; n < names.size(); ++n)
      if (!names[n].empty() && Fold(names[n]) == Fold(name)) held[n] = true;
  }

  for (size_t p = 0; p < prefixes.size(); ++p) {
    const auto& got = search.Ranges(p);
    if (got.size() != ranges[p].size()) std::abort();
    for (size_t r = 0; r < got.size(); ++r) {
      if (got[r].begin != ranges[p][r].begin || got[r].end != ranges[p][r].end ||
          got[r].crlf != ranges[p][r].crlf)
        std::abort();
      // Copied out, each line ends in CR LF and nothing else is added or lost.
      std::string copied;
      AppendDumpLines(dump, got[r], copied);
      std::string expected;
      for (const Line& line : lines)
        if (line.begin >= got[r].begin && line.end <= got[r].end)
          expected.append(line.text).append("\r\n");
      if (copied != expected) std::abort();
    }
  }
  for (size_t n = 0; n < names.size(); ++n)
    if (search.Holds(n) != held[n]) std::abort();

  // Script text, unlike the dump, ends at its first zero byte.
  const auto split = SplitLines(dump);
  const std::vector<Line> scriptLines =
      ReadLines(std::string_view(dump).substr(0, dump.find('\0')));
  if (split.size() != scriptLines.size()) std::abort();
  for (size_t i = 0; i < split.size(); ++i)
    if (split[i] != scriptLines[i].text) std::abort();
  if (DumpNames(dump) != dumpNames) std::abort();

  for (const auto& item : SplitNameList(dump.substr(0, 200)))
    if (item.find_first_of(",|") != std::string::npos) std::abort();
  return 0;
}
