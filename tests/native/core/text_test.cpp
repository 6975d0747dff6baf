#include "pure/text.h"

#include <gtest/gtest.h>

#include <climits>

#include "pure/color_font.h"
#include "pure/guid_text.h"
#include "pure/random.h"

namespace {

struct IntegerCase {
  const char* text;
  std::optional<std::int32_t> value;
};

const IntegerCase kIntegers[] = {
    {" 12", 12},
    {"12", 12},
    {"-7", -7},
    {"+5", 5},
    {"0", 0},
    {"-0", 0},
    {"007", 7},
    {"$1F", 31},
    {"0x1f", 31},
    {"0X1F", 31},
    {"x1f", 31},
    {"X1F", 31},
    {"$FFFFFFFF", -1},
    {"$80000000", INT_MIN},
    {"$7FFFFFFF", INT_MAX},
    {"-$1", -1},
    {"-$FFFFFFFF", 1},
    {"+$10", 16},
    {"-0x10", -16},
    {"$00000000001", 1},
    {"-2147483648", INT_MIN},
    {"2147483647", INT_MAX},
    {"   -2147483648", INT_MIN},
    {"12 ", std::nullopt},
    {"\t12", std::nullopt},
    {"1.5", std::nullopt},
    {"- 5", std::nullopt},
    {"$", std::nullopt},
    {"0x", std::nullopt},
    {"x", std::nullopt},
    {"-", std::nullopt},
    {"+", std::nullopt},
    {"", std::nullopt},
    {"   ", std::nullopt},
    {"+-1", std::nullopt},
    {"--1", std::nullopt},
    {"2147483648", std::nullopt},
    {"-2147483649", std::nullopt},
    {"99999999999999999999", std::nullopt},
    {"$100000000", std::nullopt},
    {"0x1FFFFFFFF", std::nullopt},
    {"$G", std::nullopt},
    {"0x-1", std::nullopt},
    {"$ 1", std::nullopt},
    {"1e3", std::nullopt},
    {"12a", std::nullopt},
    {"0$1", std::nullopt},
    {"\xD9", std::nullopt},
};

TEST(IntegerText, StrictParsing) {
  for (const auto& c : kIntegers) {
    EXPECT_EQ(ParseInteger(c.text), c.value) << "text: \"" << c.text << "\"";
  }
}

TEST(IntegerText, LenientFallsBackToTheDefault) {
  EXPECT_EQ(ParseLenient("x", 10), 10);
  EXPECT_EQ(ParseLenient("", -3), -3);
  EXPECT_EQ(ParseLenient("$10", 0), 16);
  EXPECT_EQ(ParseLenient("12 ", 7), 7);
}

TEST(Trimming, RemovesCodesZeroToThirtyTwoOnly) {
  const std::string framed = std::string("\t \x01\r\n", 5) + "a b" + std::string("\0 \x1f", 3);
  EXPECT_EQ(TrimView(framed), "a b");
  EXPECT_EQ(TrimLeftView(framed), std::string("a b") + std::string("\0 \x1f", 3));
  EXPECT_EQ(TrimRightView(framed), std::string("\t \x01\r\na b", 8));
  EXPECT_EQ(TrimView("\xA0x\xA0"), "\xA0x\xA0");  // a no-break space is above 32: it stays
  EXPECT_EQ(TrimView("   "), "");
  EXPECT_TRUE(IsBlank(std::string("\0\t", 2)));
  EXPECT_FALSE(IsBlank("\x7f"));
}

struct SplitCase {
  const char* delimiter;
  const char* text;
  std::vector<std::string> pieces;
};

TEST(SplitText, PiecesAreExactAndUntrimmed) {
  const SplitCase cases[] = {
      {",", "a,,b", {"a", "", "b"}}, {",", "", {""}},
      {",", ",", {"", ""}},          {",", ",,", {"", "", ""}},
      {"::", "x::y", {"x", "y"}},    {"::", "x:::y", {"x", ":y"}},
      {"::", "::", {"", ""}},        {"|", " a | b ", {" a ", " b "}},
      {"|", "abc", {"abc"}},         {"", "a,b", {"a,b"}},
      {"ab", "aab", {"a", ""}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SplitText(c.delimiter, c.text), c.pieces)
        << "delimiter \"" << c.delimiter << "\" text \"" << c.text << "\"";
  }
}

TEST(QuoteForScript, EveryDoubleQuoteBecomesHash34) {
  EXPECT_EQ(QuoteForScript("a\"b\"\""), "a[#34]b[#34][#34]");
  EXPECT_EQ(QuoteForScript("plain"), "plain");
  EXPECT_EQ(QuoteForScript(""), "");
}

TEST(EscapeScriptParameter, QuotesAndLineBreaksCannotEndTheParameter) {
  EXPECT_EQ(EscapeScriptParameter("a\"b\r\nc\n"), "a[#34]b[#13][#10]c[#10]");
  EXPECT_EQ(EscapeScriptParameter("C:\\dir\\file.txt"), "C:\\dir\\file.txt");
}

TEST(EscapeScriptParameter, BracketsCannotNameAnotherVariable) {
  EXPECT_EQ(EscapeScriptParameter("a[b]"), "a[#91]b[#93]");
  EXPECT_EQ(EscapeScriptParameter("x[#34]]["), "x[#91]#34[#93][#93][#91]");
}

TEST(FillPercentS, CopiesArgumentsVerbatim) {
  EXPECT_EQ(FillPercentS("Invalid \"%s\" action arguments", {"kxSetVar"}),
            "Invalid \"kxSetVar\" action arguments");
  EXPECT_EQ(FillPercentS("\"%s\" < \"%s\"", {"%s%d%n", "b"}), "\"%s%d%n\" < \"b\"");
  EXPECT_EQ(FillPercentS("%s", {}), "");
  const std::string huge(1 << 20, '%');
  EXPECT_EQ(FillPercentS("[%s]", {huge}).size(), huge.size() + 2);
}

TEST(Colors, TextAndBack) {
  EXPECT_EQ(ColorToText(0xFF8000), "0,128,255");
  EXPECT_EQ(ColorToText(0xFFFFFFFF), "255,255,255");
  EXPECT_EQ(ColorToText(0), "0,0,0");
  EXPECT_EQ(TextToColor("255,0,0"), 255);
  EXPECT_EQ(TextToColor("0,128,255"), 0xFF8000);
  EXPECT_EQ(TextToColor("1,2"), -1);
  EXPECT_EQ(TextToColor("1,2,3,4"), -1);
  EXPECT_EQ(TextToColor(""), -1);
  EXPECT_EQ(TextToColor("a,2,3"), 2 * 256 + 3 * 65536);
  EXPECT_EQ(TextToColor("300,0,0"), 300);  // no clamping
  EXPECT_EQ(TextToColor(" 1, 2, 3"), 1 + 2 * 256 + 3 * 65536);
}

TEST(Fonts, TextAndBack) {
  FontSpec arial{"Arial", 10, 0, kFontBold | kFontItalic};
  EXPECT_EQ(FontToText(arial), "Arial|10|0,0,0|Bold+Italic");
  arial.styles = 0;
  EXPECT_EQ(FontToText(arial), "Arial|10|0,0,0");
  EXPECT_EQ(FontStyleText(kFontStrikeout | kFontBold | kFontUnderline | kFontItalic),
            "Bold+Italic+Underline+Strikeout");
  EXPECT_EQ(FontStyleText(0), "");

  EXPECT_EQ(TextToFont("Arial|12"), FontSpec{});
  EXPECT_EQ(TextToFont(""), FontSpec{});
  const FontSpec blue = TextToFont("Arial|x|0,0,255");
  EXPECT_EQ(blue.name, "Arial");
  EXPECT_EQ(blue.size, 10);
  EXPECT_EQ(blue.color, 0xFF0000);
  EXPECT_EQ(blue.styles, 0u);
  EXPECT_EQ(TextToFont("Courier New|9|1,2,3|Italic+Strikeout").styles,
            unsigned{kFontItalic | kFontStrikeout});
  EXPECT_EQ(TextToFont("A|9|1,2,3|bold").styles, 0u);    // words are case-sensitive
  EXPECT_EQ(TextToFont("A|9|1,2,3|Bold|x").styles, 0u);  // five pieces: no style
  EXPECT_EQ(TextToFont("A|9|1,2").color, -1);
  const FontSpec round = {"Times New Roman", 14, 0x123456, kFontUnderline};
  EXPECT_EQ(TextToFont(FontToText(round)), round);
}

TEST(Charsets, KnownAndUnknown) {
  EXPECT_EQ(CharsetName(204), "RUSSIAN_CHARSET");
  EXPECT_EQ(CharsetName(0), "ANSI_CHARSET");
  EXPECT_EQ(CharsetName(255), "OEM_CHARSET");
  EXPECT_EQ(CharsetName(1), "DEFAULT_CHARSET");
  EXPECT_EQ(CharsetName(-1), "DEFAULT_CHARSET");
}

TEST(Random, LinearCongruentialSequence) {
  PluginRandom random;
  // state = state * 0x08088405 + 1: from 0 the first states are 1 and 0x08088406.
  EXPECT_EQ(random.Next(0x10000), 0u);  // (1 * 0x10000) >> 32
  EXPECT_EQ(random.State(), 1u);
  EXPECT_EQ(random.Next(1000), static_cast<std::uint32_t>((0x08088406ull * 1000) >> 32));
  random.Seed(0xFFFFFFFF);
  const std::uint32_t next = 0xFFFFFFFFu * 0x08088405u + 1u;
  EXPECT_EQ(random.Next(7), static_cast<std::uint32_t>((std::uint64_t{next} * 7) >> 32));
  for (std::uint32_t range : {1u, 2u, 3u, 10u, 0xFFFFFFFFu}) {
    for (int i = 0; i < 1000; ++i) EXPECT_LT(random.Next(range), range);
  }
}

TEST(Guid, UpperCaseBracedThirtyEightCharacters) {
  const std::uint8_t tail[8] = {0xAB, 0xCD, 0x01, 0x23, 0x45, 0x67, 0x89, 0xEF};
  EXPECT_EQ(GuidText(0x0123ABCD, 0xBEEF, 0x0F00, tail), "{0123ABCD-BEEF-0F00-ABCD-0123456789EF}");
}

}  // namespace
