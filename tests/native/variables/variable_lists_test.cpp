#include "pure/variable_lists.h"

#include <gtest/gtest.h>

#include <cctype>
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

std::string Names(const VariableDump& dump, const std::vector<size_t>& indices) {
  std::string out;
  for (const size_t i : indices) out.append(dump.entries()[i].name).append(";");
  return out;
}

std::string AllNames(const VariableDump& dump) {
  std::string out;
  for (const auto& entry : dump.entries()) out.append(entry.name).append(";");
  return out;
}

std::string Matches(const VariableDump& dump, std::string_view prefix) {
  return Names(dump, dump.MatchPrefixes({prefix})[0]);
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

TEST(VariableDump, NamesValuesAndContinuationLines) {
  const VariableDump dump("User1=a\r\nUserName=b=c\r\nx\r\n=y\r\nuser2=\r\nTmp=1\n\nLast=z");
  EXPECT_EQ(AllNames(dump), "User1;UserName;user2;Tmp;Last;");
  const struct {
    size_t index;
    const char* expected;
  } cases[] = {
      {0, "User1=a\r\n"}, {1, "UserName=b=c\r\nx\r\n=y\r\n"},
      {2, "user2=\r\n"},  {3, "Tmp=1\r\n\r\n"},
      {4, "Last=z\r\n"},
  };
  for (const auto& c : cases) {
    std::string out;
    dump.AppendEntry(c.index, out);
    EXPECT_EQ(out, c.expected) << "entry " << c.index;
  }
}

TEST(VariableDump, PrefixMatchesAreCaseSensitiveAndInDumpOrder) {
  const VariableDump dump(
      "Zeta=1\r\nUserB=2\r\nuserC=3\r\nUserA=4\r\nUser=5\r\nUsex=6\r\nUserB=7\r\n");
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

// Prefixes of many different lengths take the sorted path; both paths must agree.
TEST(VariableDump, ManyPrefixLengthsGiveTheSameMatches) {
  std::string text;
  for (int i = 0; i < 300; ++i) text += "v" + std::to_string(i * 7) + "=x\r\n";
  const VariableDump dump(text);
  std::vector<std::string> owned;
  for (std::string p = "v"; p.size() < 12; p += "1") owned.push_back(p);
  owned.push_back("v2");
  owned.push_back("");
  owned.push_back("v1");
  const std::vector<std::string_view> prefixes(owned.begin(), owned.end());
  const auto together = dump.MatchPrefixes(prefixes);
  ASSERT_EQ(together.size(), prefixes.size());
  for (size_t i = 0; i < prefixes.size(); ++i) {
    std::vector<size_t> expected;
    for (size_t e = 0; e < dump.entries().size(); ++e)
      if (dump.entries()[e].name.starts_with(prefixes[i])) expected.push_back(e);
    EXPECT_EQ(together[i], expected) << "prefix " << prefixes[i];
    EXPECT_EQ(dump.MatchPrefixes({prefixes[i]})[0], expected) << "prefix alone " << prefixes[i];
  }
}

TEST(VariableDump, LinesBeforeTheFirstVariableBelongToNone) {
  const VariableDump dump("orphan\r\n=x\r\nA=1\r\n");
  EXPECT_EQ(AllNames(dump), "A;");
  EXPECT_TRUE(VariableDump("").entries().empty());
  EXPECT_TRUE(VariableDump("").MatchPrefixes({"", "a"})[0].empty());
}

TEST(FoldedNamesPresent, LooksUpUnderTheGivenFolding) {
  const VariableDump dump("UserName=1\r\nother=2\r\nx\r\n");
  const FoldCase fold = [](std::string_view text, std::string& out) { out = AsciiLower(text); };
  const std::vector<std::string_view> wanted = {"username", "USERNAME", "Other", "x", "", "User"};
  const auto present = FoldedNamesPresent(dump, wanted, fold);
  const struct {
    const char* name;
    bool found;
  } cases[] = {{"username", true}, {"other", true}, {"x", false}, {"", false}, {"user", false}};
  for (const auto& c : cases) EXPECT_EQ(present.count(c.name) == 1, c.found) << c.name;
  EXPECT_EQ(present.size(), 2u);

  ByteFold table;
  for (int i = 0; i < 256; ++i) table[i] = static_cast<char>(std::tolower(i));
  EXPECT_EQ(FoldedNamesPresent(dump, wanted, table), present);
}

// Equal hashes are not enough: the folded bytes must match, and a name wanted in two cases
// is one key.
TEST(FoldedNamesPresent, ByteTableComparesTheFoldedBytes) {
  std::string text;
  for (int i = 0; i < 2000; ++i) text += "Name" + std::to_string(i) + "=v\r\n";
  const VariableDump dump(text);
  ByteFold table;
  for (int i = 0; i < 256; ++i) table[i] = static_cast<char>(std::tolower(i));
  const std::vector<std::string_view> wanted = {"NAME0",     "name0",  "name1999", "name2000",
                                                "Name19999", "name 1", ""};
  const auto present = FoldedNamesPresent(dump, wanted, table);
  EXPECT_EQ(present, (std::unordered_set<std::string>{"name0", "name1999"}));
}
