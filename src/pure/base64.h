// Base64 with the standard alphabet and "=" padding, on one line. The decoder never fails:
// it reads groups of four alphabet characters, passes over anything outside the alphabet
// (line breaks, blanks), stops after the first group that holds a pad and drops a short last
// group. Both directions work in pieces so files can stream through them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

constexpr std::size_t Base64EncodedSize(std::size_t bytes) { return (bytes + 2) / 3 * 4; }
// Room that decoding `chars` characters can fill, whatever came before in the stream.
constexpr std::size_t Base64DecodedBound(std::size_t chars) { return (chars + 3) / 4 * 3; }

// Writes Base64EncodedSize(size) characters. Pieces of a stream are encoded one after the
// other as long as every piece but the last holds a multiple of 3 bytes.
void Base64EncodeTo(const unsigned char* bytes, std::size_t size, char* out);
std::string Base64Encode(std::string_view bytes);

class Base64Decoder {
 public:
  // Decodes the next piece of the text into `out` (room for Base64DecodedBound(size)) and
  // returns the count of bytes written.
  std::size_t Decode(const char* text, std::size_t size, unsigned char* out);
  // A pad has been read: everything after it is ignored.
  bool finished() const { return finished_; }

 private:
  unsigned char group_[4] = {};
  int pending_ = 0;
  bool finished_ = false;
};

std::string Base64Decode(std::string_view text);
