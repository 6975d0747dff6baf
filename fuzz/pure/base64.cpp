// Base64 both ways: any bytes come back from their encoding, the streaming decoder agrees with
// the one-shot decoder on any split of the text, and any text decodes as a slow reading of
// the same rules decodes it, within the room the decoder promises.
#include "pure/base64.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr std::string_view kAlphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// Groups of four characters of the alphabet or "=", anything else passed over; a group with a
// pad gives the bytes its characters before the pad fill and ends the text; a short last
// group gives nothing.
std::string Reference(std::string_view text) {
  std::string bytes;
  std::string group;
  for (const char c : text) {
    if (c != '=' && kAlphabet.find(c) == std::string_view::npos) continue;
    group += c;
    if (group.size() < 4) continue;
    const size_t data = std::min(group.find('='), size_t{4});
    std::uint32_t bits = 0;
    for (const char g : group) bits = bits << 6 | (g == '=' ? 0u : kAlphabet.find(g));
    const size_t count = data == 4 ? 3 : (data >= 2 ? data - 1 : 0);
    for (size_t i = 0; i < count; ++i) bytes += static_cast<char>(bits >> (16 - 8 * i));
    if (data < 4) break;
    group.clear();
  }
  return bytes;
}

// Exactly the room the decoder may fill, on the heap, so a byte written past it is caught.
std::string DecodeExact(Base64Decoder& decoder, std::string_view piece) {
  const size_t room = Base64DecodedBound(piece.size());
  std::unique_ptr<unsigned char[]> out(new unsigned char[room ? room : 1]);
  const size_t written = decoder.Decode(piece.data(), piece.size(), out.get());
  if (written > room) std::abort();
  return std::string(reinterpret_cast<char*>(out.get()), written);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);

  // The input as bytes: encoded on one line of the alphabet, padded, and decoded back.
  const std::string encoded = Base64Encode(input);
  if (encoded.size() != Base64EncodedSize(size)) std::abort();
  const size_t pads = size % 3 ? 3 - size % 3 : 0;
  const std::string_view body = std::string_view(encoded).substr(0, encoded.size() - pads);
  if (body.find_first_not_of(kAlphabet) != std::string_view::npos) std::abort();
  if (encoded.find_first_not_of('=', body.size()) != std::string::npos) std::abort();
  if (Base64Decode(encoded) != input) std::abort();
  // Encoded in pieces of whole groups, it reads the same.
  if (size >= 2) {
    const size_t cut = data[0] % 8 * 3 < size ? data[0] % 8 * 3 : 0;
    std::string pieces(Base64EncodedSize(size), '\0');
    Base64EncodeTo(data, cut, pieces.data());
    Base64EncodeTo(data + cut, size - cut, pieces.data() + Base64EncodedSize(cut));
    if (pieces != encoded) std::abort();
  }

  // The input as text: the one-shot decoder against the slow reading.
  const std::string once = Base64Decode(input);
  if (once != Reference(input)) std::abort();
  Base64Decoder whole;
  if (DecodeExact(whole, input) != once) std::abort();

  // The same text in pieces whose lengths come from the text itself (1 to 8 characters), and
  // its encoding in random pieces: each piece gets only its own room.
  for (const std::string_view text : {input, std::string_view(encoded)}) {
    Base64Decoder stream;
    std::string streamed;
    size_t at = 0, step = 0;
    while (at < text.size()) {
      const size_t length = std::min<size_t>(text.size() - at, 1 + data[step++ % size] % 8);
      streamed += DecodeExact(stream, text.substr(at, length));
      at += length;
    }
    if (streamed != Base64Decode(text)) std::abort();
  }
  return 0;
}
