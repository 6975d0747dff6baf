#include "pure/variable_lists.h"

#include <gtest/gtest.h>

#include <cctype>
#include <random>
#include <string>
#include <vector>

namespace {

std::string Joined(const std::vector<std::string_view>& pieces) {
  std::string out;
  for (const auto piece : pieces) out.append("<").append(piece).append(">");
  return out;
}

std::string Joined(const std::vector<std::string>& pieces) {
  return Joined(std::vector<std::string_view>(pieces.begin(), pieces.end()));
}

// What a list item brings out of a dump: the lines of each matched range, CR LF after each.
std::string Lines(std::string_view dump, const std::vector<DumpRange>& ranges) {
  std::string out;
  for (const DumpRange& range : ranges) AppendDumpLines(dump, range, out);
  return out;
}

std::string Names(std::string_view dump, const std::vector<DumpRange>& ranges) {
  std::string out;
  for (const DumpRange& range : ranges)
    for (const auto name : DumpNames(dump.substr(range.begin, range.end - range.begin)))
      out.append(name).append(";");
  return out;
}

// The lines of a dump by the plain rule: CR LF, CR or LF ends one, a zero byte does not.
std::vector<std::string> DumpLines(const std::string& dump) {
  std::vector<std::string> lines;
  std::string line;
  for (size_t i = 0; i < dump.size(); ++i) {
    if (dump[i] != '\r' && dump[i] != '\n') {
      line += dump[i];
      continue;
    }
    if (dump[i] == '\r' && i + 1 < dump.size() && dump[i + 1] == '\n') ++i;
    lines.push_back(std::move(line));
    line.clear();
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

std::string Matches(std::string_view dump, std::string_view prefix) {
  DumpSearch search({prefix}, {}, nullptr);
  search.Scan(dump);
  return Names(dump, search.Ranges(0));
}

std::string AsciiLower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

}  // namespace

TEST(SplitLines, LineEndsAndEdges) {
  const struct {
    std::string text;
    std::string expected;
  } cases[] = {
      {"", ""},
      {"a", "<a>"},
      {"a\r\nb\r\nc", "<a><b><c>"},
      {"a\nb\n", "<a><b>"},
      {"a\rb\r", "<a><b>"},
      {"a\r\n\r\nc\r\n", "<a><><c>"},
      {"\r\n", "<>"},
      {"\n\n", "<><>"},
      {"a\r\r\nb", "<a><><b>"},
      {"a\n\rb", "<a><><b>"},
      {"  a \t\r\n", "<  a \t>"},
      {std::string("a\r\nb\0c\r\nd", 9), "<a><b>"},
      {std::string("\0a", 2), ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Joined(SplitLines(c.text)), c.expected)
        << "text: " << ::testing::PrintToString(c.text);
}

TEST(SplitNameList, BothSeparatorsAndTrimming) {
  const struct {
    const char* list;
    const char* expected;
  } cases[] = {
      {"x|y", "<x><y>"},    {"a, b ,c", "<a><b><c>"}, {"a|b,c", "<a><b><c>"}, {"", "<>"},
      {"a,,b", "<a><><b>"}, {" tmp* ", "<tmp*>"},     {"\ta\t|", "<a><>"},
  };
  for (const auto& c : cases) EXPECT_EQ(Joined(SplitNameList(c.list)), c.expected) << c.list;
}

TEST(Wildcard, PrefixDropsTheLastCharacterWhateverItIs) {
  const struct {
    const char* item;
    bool wildcard;
    const char* prefix;
  } cases[] = {
      {"tmp*", true, "tmp"}, {"*", true, ""},    {"a*b", true, "a*"},
      {"*x", true, "*"},     {"abc", false, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsWildcard(c.item), c.wildcard) << c.item;
    if (c.wildcard) EXPECT_EQ(WildcardPrefix(c.item), c.prefix) << c.item;
  }
}

TEST(DumpSearch, NamesValuesAndContinuationLines) {
  const std::string_view dump = "User1=a\r\nUserName=b=c\r\nx\r\n=y\r\nuser2=\r\nTmp=1\n\nLast=z";
  EXPECT_EQ(Joined(DumpNames(dump)), "<User1><UserName><user2><Tmp><Last>");
  const struct {
    const char* prefix;
    const char* expected;
  } cases[] = {
      {"User1", "User1=a\r\n"},
      {"UserN", "UserName=b=c\r\nx\r\n=y\r\n"},
      {"user", "user2=\r\n"},
      {"Tmp", "Tmp=1\r\n\r\n"},
      {"Last", "Last=z\r\n"},
      {"x", ""},
      {"=", ""},
      {"U", "User1=a\r\nUserName=b=c\r\nx\r\n=y\r\n"},
  };
  for (const auto& c : cases) {
    DumpSearch search({c.prefix}, {}, nullptr);
    search.Scan(dump);
    EXPECT_EQ(Lines(dump, search.Ranges(0)), c.expected) << "prefix " << c.prefix;
  }
}

TEST(DumpSearch, PrefixMatchesAreCaseSensitiveAndInDumpOrder) {
  const std::string_view dump =
      "Zeta=1\r\nUserB=2\r\nuserC=3\r\nUserA=4\r\nUser=5\r\nUsex=6\r\nUserB=7\r\n";
  const struct {
    const char* prefix;
    const char* expected;
  } cases[] = {
      {"User", "UserB;UserA;User;UserB;"},
      {"user", "userC;"},
      {"UserB", "UserB;UserB;"},
      {"Users", ""},
      {"", "Zeta;UserB;userC;UserA;User;Usex;UserB;"},
      {"Z", "Zeta;"},
      {"zz", ""},
      {"Zeta=", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(Matches(dump, c.prefix), c.expected) << c.prefix;
}

// Neighbouring matches come out as one range; anything between them splits it.
TEST(DumpSearch, NeighboursMergeIntoOneRange) {
  const std::string_view dump = "a1=1\r\na2=2\r\nmore\r\nb=3\r\na3=3\r\n";
  DumpSearch search({"a", "", "b"}, {}, nullptr);
  search.Scan(dump);
  ASSERT_EQ(search.Ranges(0).size(), 2u);
  EXPECT_EQ(search.Ranges(0)[0].begin, 0u);
  EXPECT_EQ(search.Ranges(0)[0].end, 18u);
  EXPECT_EQ(search.Ranges(0)[1].begin, 23u);
  ASSERT_EQ(search.Ranges(1).size(), 1u);
  EXPECT_EQ(search.Ranges(1)[0].end, dump.size());
  EXPECT_TRUE(search.Ranges(1)[0].crlf);
  EXPECT_EQ(Lines(dump, search.Ranges(2)), "b=3\r\n");
}

TEST(DumpSearch, ManyPrefixLengthsAndRepeatsGiveTheSameMatchesAsAlone) {
  std::string text;
  for (int i = 0; i < 300; ++i) text += "v" + std::to_string(i * 7) + "=x\r\n";
  std::vector<std::string> owned;
  for (std::string p = "v"; p.size() < 12; p += "1") owned.push_back(p);
  owned.push_back("v2");
  owned.push_back("");
  owned.push_back("v1");
  owned.push_back("v2");
  const std::vector<std::string_view> prefixes(owned.begin(), owned.end());
  DumpSearch together(prefixes, {}, nullptr);
  together.Scan(text);
  for (size_t i = 0; i < prefixes.size(); ++i) {
    std::string expected;
    for (const auto name : DumpNames(text))
      if (name.starts_with(prefixes[i])) expected.append(name).append(";");
    EXPECT_EQ(Names(text, together.Ranges(i)), expected) << "prefix " << prefixes[i];
    EXPECT_EQ(Matches(text, prefixes[i]), expected) << "prefix alone " << prefixes[i];
  }
}

TEST(DumpSearch, LinesBeforeTheFirstVariableBelongToNone) {
  const std::string_view dump = "orphan\r\n=x\r\nA=1\r\n";
  EXPECT_EQ(Joined(DumpNames(dump)), "<A>");
  EXPECT_EQ(Matches(dump, ""), "A;");
  DumpSearch search({"", "a"}, {"A"}, nullptr, [](std::string_view t, std::string& o) { o = t; });
  search.Scan("");
  EXPECT_TRUE(search.Ranges(0).empty());
  EXPECT_FALSE(search.Holds(0));
}

// The variables after a value holding a zero byte were neither cleared nor saved.
TEST(DumpSearch, AZeroByteInAValueDoesNotEndTheDump) {
  const char bytes[] = "A=1\r\nA2=x\0y\r\nA3=3\r\n\0=z\nA4=4";
  const std::string dump(bytes, sizeof bytes - 1);
  EXPECT_EQ(Matches(dump, "A"), "A;A2;A3;A4;");
  DumpSearch search({"A"}, {"A4"}, nullptr, [](std::string_view t, std::string& o) { o = t; });
  search.Scan(dump);
  const char lines[] = "A=1\r\nA2=x\0y\r\nA3=3\r\nA4=4\r\n";  // "\0" names a variable
  EXPECT_EQ(Lines(dump, search.Ranges(0)), std::string(lines, sizeof lines - 1));
  EXPECT_TRUE(search.Holds(0));
}

TEST(DumpSearch, NamesAreLookedUpUnderTheGivenFolding) {
  const std::string_view dump = "UserName=1\r\nother=2\r\nx\r\n";
  const FoldCase fold = [](std::string_view text, std::string& out) { out = AsciiLower(text); };
  const std::vector<std::string_view> wanted = {"username", "USERNAME", "Other", "x", "", "User"};
  const bool expected[] = {true, true, true, false, false, false};
  ByteFold table;
  for (int i = 0; i < 256; ++i) table[i] = static_cast<char>(std::tolower(i));
  DumpSearch withCall({}, wanted, nullptr, fold), withTable({}, wanted, &table);
  withCall.Scan(dump);
  withTable.Scan(dump);
  for (size_t i = 0; i < wanted.size(); ++i) {
    EXPECT_EQ(withCall.Holds(i), expected[i]) << wanted[i];
    EXPECT_EQ(withTable.Holds(i), expected[i]) << wanted[i];
  }
}

// Equal hashes are not enough: the folded bytes must match, whatever their length.
TEST(DumpSearch, ByteTableComparesTheFoldedBytes) {
  std::string text;
  for (int i = 0; i < 2000; ++i) text += "Name" + std::to_string(i) + "=v\r\n";
  text += "A_Rather_Long_Name_Of_Thirty_Bytes=1\r\n";
  ByteFold table;
  for (int i = 0; i < 256; ++i) table[i] = static_cast<char>(std::tolower(i));
  const std::vector<std::string_view> wanted = {"NAME0",
                                                "name0",
                                                "name1999",
                                                "name2000",
                                                "Name19999",
                                                "name 1",
                                                "",
                                                "a_rather_long_name_of_thirty_bytes",
                                                "a_rather_long_name_of_thirty_byte"};
  const bool expected[] = {true, true, true, false, false, false, false, true, false};
  DumpSearch search({}, wanted, &table);
  search.Scan(text);
  for (size_t i = 0; i < wanted.size(); ++i) EXPECT_EQ(search.Holds(i), expected[i]) << wanted[i];
}

// Random dumps of a few letters, "=", line ends and the odd zero byte, against a plain
// line-by-line reading of the same rules.
TEST(DumpSearch, AgreesWithALineByLineReading) {
  std::mt19937 random(20261208);
  const std::string alphabet = "aAbB=\r\n\r\n";
  for (int round = 0; round < 3000; ++round) {
    std::string dump;
    const int length = static_cast<int>(random() % 60);
    for (int i = 0; i < length; ++i) dump += alphabet[random() % alphabet.size()];
    if (random() % 10 == 0 && !dump.empty()) dump[random() % dump.size()] = '\0';
    std::vector<std::string> owned;
    for (int i = 0; i < 4; ++i) {
      std::string item;
      for (int j = static_cast<int>(random() % 4); j > 0; --j) item += "aAbB"[random() % 4];
      owned.push_back(item);
    }
    const std::vector<std::string_view> items(owned.begin(), owned.end());

    // The reference: each line with a name starts a variable, the others extend the last one.
    struct Variable {
      std::string name, lines;
    };
    std::vector<Variable> variables;
    for (const auto line : DumpLines(dump)) {
      const auto equals = line.find('=');
      if (equals != std::string_view::npos && equals > 0)
        variables.push_back({std::string(line.substr(0, equals)), ""});
      if (!variables.empty()) variables.back().lines.append(line).append("\r\n");
    }
    ByteFold table;
    for (int i = 0; i < 256; ++i) table[i] = static_cast<char>(std::tolower(i));
    DumpSearch search(items, items, &table);
    search.Scan(dump);
    for (size_t i = 0; i < items.size(); ++i) {
      std::string lines;
      bool held = false;
      for (const auto& variable : variables) {
        if (variable.name.starts_with(items[i])) lines += variable.lines;
        held = held || (!items[i].empty() && AsciiLower(variable.name) == AsciiLower(items[i]));
      }
      ASSERT_EQ(Lines(dump, search.Ranges(i)), lines)
          << "dump " << ::testing::PrintToString(dump) << " prefix " << items[i];
      ASSERT_EQ(search.Holds(i), held)
          << "dump " << ::testing::PrintToString(dump) << " name " << items[i];
    }
  }
}

// A zero byte inside a value is part of its line, whatever follows it: a range must reach the
// line's real end, and a line that ends the dump without CR LF gets one, also when exactly
// two bytes follow the zero (they must not pass for a CR LF).
TEST(DumpSearch, AZeroByteStaysInsideItsLine) {
  const struct {
    std::string tail, saved;
  } cases[] = {
      {"", std::string("a=1\r\nnext\0\r\n", 12)},
      {"x", std::string("a=1\r\nnext\0x\r\n", 13)},
      {"xy", std::string("a=1\r\nnext\0xy\r\n", 14)},
      {"\r\n", std::string("a=1\r\nnext\0\r\n", 12)},
      {"xyz\r\nb=2\r\n", std::string("a=1\r\nnext\0xyz\r\n", 15)},
  };
  for (const auto& c : cases) {
    const std::string dump = std::string("a=1\r\nnext\0", 10) + c.tail;
    DumpSearch search({"a", "b"}, {}, nullptr);
    search.Scan(dump);
    ASSERT_EQ(search.Ranges(0).size(), 1u) << c.tail;
    EXPECT_EQ(search.Ranges(1).size(), c.tail.find("b=") == std::string::npos ? 0u : 1u)
        << c.tail;
    std::string out;
    AppendDumpLines(dump, search.Ranges(0)[0], out);
    EXPECT_EQ(out, c.saved) << ::testing::PrintToString(c.tail);
  }
}
