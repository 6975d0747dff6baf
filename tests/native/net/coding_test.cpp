#include <gtest/gtest.h>

#include <cctype>
#include <random>
#include <string>

#include "pure/base64.h"
#include "pure/url_coding.h"

namespace {

std::string RandomBytes(std::size_t size, unsigned seed) {
  std::mt19937 generator(seed);
  std::string bytes(size, '\0');
  for (auto& b : bytes) b = static_cast<char>(generator() & 0xFF);
  return bytes;
}

TEST(UrlEncode, Values) {
  const struct {
    std::string text, expected;
  } rows[] = {
      {"a b&c", "a%20b%26c"},
      {"A-Z_a.z~", "A-Z_a.z%7E"},
      {"", ""},
      {"09+/", "09%2B%2F"},
      {std::string("\0\xFF\x80", 3), "%00%FF%80"},
      // Windows-1251 "Кириллица"
      {"\xCA\xE8\xF0\xE8\xEB\xEB\xE8\xF6\xE0", "%CA%E8%F0%E8%EB%EB%E8%F6%E0"},
  };
  for (const auto& row : rows) EXPECT_EQ(UrlEncode(row.text), row.expected) << row.text;
}

TEST(UrlEncode, EveryByteRoundTrips) {
  std::string all;
  for (int c = 0; c < 256; ++c) all += static_cast<char>(c);
  const std::string encoded = UrlEncode(all);
  EXPECT_EQ(encoded.size(), 65u + 191u * 3u);  // letters, digits and "-._" stay single
  EXPECT_EQ(UrlDecode(encoded), all);
}

// Runs of plain characters are tested 16 and 8 at a time: every byte in every lane.
TEST(UrlEncode, EveryByteInEveryLane) {
  for (int c = 0; c < 256; ++c) {
    const bool plain = std::isalnum(c) && c < 128 ? true : (c == '-' || c == '.' || c == '_');
    static const char hex[] = "0123456789ABCDEF";
    const std::string escaped =
        plain ? std::string(1, static_cast<char>(c)) : std::string{'%', hex[c >> 4], hex[c & 15]};
    for (int lane = 0; lane < 16; ++lane) {
      std::string text(24, 'a');
      text[static_cast<std::size_t>(lane)] = static_cast<char>(c);
      const std::string expected =
          std::string(static_cast<std::size_t>(lane), 'a') + escaped + std::string(23 - lane, 'a');
      ASSERT_EQ(UrlEncode(text), expected) << c << " in lane " << lane;
    }
  }
}

TEST(UrlDecode, Values) {
  const struct {
    std::string text, expected;
  } rows[] = {
      {"a%20b", "a b"},
      {"%41%4a", "AJ"},
      {"100%", ""},
      {"%G1", ""},
      {"%1G", ""},
      {"a+b", "a+b"},
      {"A%4", std::string("A\x04")},
      {"%", ""},
      {"", ""},
      {"%00x", std::string("\0x", 2)},
      {"%ca%E8", "\xCA\xE8"},
      {"ok%2", "ok\x02"},
      {"good%20then%zz", ""},
      {"%%41", ""},
  };
  for (const auto& row : rows) EXPECT_EQ(UrlDecode(row.text), row.expected) << row.text;
}

TEST(Base64, EncodeAndDecodeRfc4648Vectors) {
  const struct {
    std::string bytes, text;
  } rows[] = {
      {"", ""},
      {"f", "Zg=="},
      {"fo", "Zm8="},
      {"foo", "Zm9v"},
      {"foob", "Zm9vYg=="},
      {"fooba", "Zm9vYmE="},
      {"foobar", "Zm9vYmFy"},
      {"abc", "YWJj"},
      {"ab", "YWI="},
      {"a", "YQ=="},
      {"\xFB\xFF", "+/8="},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(Base64Encode(row.bytes), row.text) << row.bytes;
    EXPECT_EQ(Base64Decode(row.text), row.bytes) << row.text;
  }
}

TEST(Base64, RoundTripsEveryLengthAndRandomBinary) {
  for (std::size_t size = 0; size <= 300; ++size) {
    const std::string bytes = RandomBytes(size, static_cast<unsigned>(size));
    const std::string text = Base64Encode(bytes);
    ASSERT_EQ(text.size(), (size + 2) / 3 * 4) << size;
    ASSERT_EQ(text.find_first_of("\r\n"), std::string::npos) << size;
    ASSERT_EQ(Base64Decode(text), bytes) << size;
  }
  const std::string big = RandomBytes(1 << 20, 7);
  EXPECT_EQ(Base64Decode(Base64Encode(big)), big);
}

// Malformed text is never refused; these rows fix what this decoder makes of it.
TEST(Base64, DecodeIsLenient) {
  const struct {
    std::string text, bytes;
  } rows[] = {
      {"YWJj\r\nYWJj", "abcabc"},  // line breaks are passed over
      {"Y W\tJ j", "abc"},         // so is anything outside the alphabet
      {"YWJjYW", "abc"},           // a short last group is dropped
      {"YQ==YWJj", "a"},           // nothing after a padded group
      {"YWI=YWJj", "ab"},
      {"YQ=AYWJj", "a"},    // a pad in third place ends the text too
      {"YWJj=AAA", "abc"},  // a pad in first place gives nothing and ends it
      {"====", ""},
      {"!!!!", ""},
      {"Y", ""},
  };
  for (const auto& row : rows) EXPECT_EQ(Base64Decode(row.text), row.bytes) << row.text;
}

// Files stream through the coders in pieces: any cut of the text, and any cut of the bytes at
// multiples of three, gives the same result as one call.
TEST(Base64, PiecesGiveTheWholeResult) {
  const std::string bytes = RandomBytes(10000, 3);
  std::string text = Base64Encode(bytes);
  for (std::size_t at = 76; at < text.size(); at += 78) text.insert(at, "\r\n");
  std::mt19937 generator(11);
  for (int round = 0; round < 20; ++round) {
    Base64Decoder decoder;
    std::string out;
    for (std::size_t at = 0; at < text.size();) {
      const std::size_t piece = std::min<std::size_t>(generator() % 50, text.size() - at);
      std::string chunk(Base64DecodedBound(piece), '\0');
      chunk.resize(
          decoder.Decode(text.data() + at, piece, reinterpret_cast<unsigned char*>(chunk.data())));
      out += chunk;
      at += piece;
    }
    ASSERT_EQ(out, bytes) << round;
  }
  std::string encoded(Base64EncodedSize(bytes.size()), '\0');
  const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
  for (std::size_t at = 0; at < bytes.size(); at += 3 * 97) {
    const std::size_t piece = std::min<std::size_t>(3 * 97, bytes.size() - at);
    Base64EncodeTo(in + at, piece, encoded.data() + at / 3 * 4);
  }
  EXPECT_EQ(encoded, Base64Encode(bytes));
}

}  // namespace
