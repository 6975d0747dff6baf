// Percent-encoding of URL text and Base64 of texts and files. Texts are the host's ANSI bytes,
// taken and handed back unchanged by any code page conversion. Files stream through the coder
// in fixed pieces, so the only memory that grows with a file is the result itself.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "actions/actions.h"
#include "core/failures.h"
#include "core/host_io.h"
#include "pure/base64.h"
#include "pure/url_coding.h"

namespace {

// Multiples of 3 bytes and 4 characters, so every piece but the last is whole groups.
constexpr DWORD kFileBytesPerPiece = 3 * 64 * 1024;
constexpr std::size_t kTextCharsPerPiece = 4 * 64 * 1024;

}  // namespace

// kxUrlEncode: always succeeds.
bool RunUrlEncode(const ActionCall& call) {
  SetResultVariable(call.Param(1), UrlEncode(std::string_view(call.Text(0))));
  return true;
}

// kxUrlDecode: always succeeds; a malformed escape gives the empty text, not a failure. A
// decoded zero byte ends the text the host receives, as with any host text.
bool RunUrlDecode(const ActionCall& call) {
  SetResultVariable(call.Param(1), UrlDecode(std::string_view(call.Text(0))));
  return true;
}

// Memory running out is the one error the coders can meet: nbExecAction reports it through
// LastError and "False" like any other failure.
bool RunBase64EncodeStr(const ActionCall& call) {
  SetLargeResultVariable(call.Param(1), Base64Encode(std::string_view(call.Text(0))).c_str());
  return true;
}

// kxBase64DecodeStr: never refuses a text (see Base64Decoder); the host's texts end at a
// zero byte, so decoded bytes after one do not reach the variable.
bool RunBase64DecodeStr(const ActionCall& call) {
  SetLargeResultVariable(call.Param(1), Base64Decode(std::string_view(call.Text(0))).c_str());
  return true;
}

// kxBase64EncodeFile: the file is opened without sharing so nobody changes it half-way; the
// text is sized once from the file's size and filled piece by piece.
bool RunBase64EncodeFile(const ActionCall& call) {
  const std::string path = call.Param(0), variable = call.Param(1);
  if (!FileExists(path)) return ReportMissingFile(path, variable);
  File file;
  if (const FileFailure failure = OpenForRead(path, Sharing::kNone, file))
    return ReportFileFailure(variable, failure);
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size)) return ReportSystemError(variable, GetLastError());
  if (static_cast<unsigned long long>(size.QuadPart) / 3 * 4 >= SIZE_MAX / 2)
    throw std::bad_alloc();
  // Left uninitialised: the coder writes every character, and a zero-filling pass would
  // touch the whole result once more.
  std::size_t capacity = Base64EncodedSize(static_cast<std::size_t>(size.QuadPart));
  std::unique_ptr<char[]> text(new char[capacity + 1]);
  std::vector<unsigned char> piece(kFileBytesPerPiece);
  std::size_t encoded = 0;  // characters
  for (;;) {
    DWORD filled = 0;
    if (const DWORD error = file.ReadPiece(piece.data(), kFileBytesPerPiece, filled))
      return ReportSystemError(variable, error);
    if (filled == 0) break;
    // The size was read before the first piece; a file that still grew is coded whole.
    if (encoded + Base64EncodedSize(filled) > capacity) {
      capacity = 2 * (encoded + Base64EncodedSize(filled));
      std::unique_ptr<char[]> larger(new char[capacity + 1]);
      std::memcpy(larger.get(), text.get(), encoded);
      text = std::move(larger);
    }
    Base64EncodeTo(piece.data(), filled, text.get() + encoded);
    encoded += Base64EncodedSize(filled);
    if (filled < kFileBytesPerPiece) break;
  }
  text[encoded] = '\0';
  SetLargeResultVariable(variable, text.get());
  return true;
}

// kxBase64DecodeFile: an existing file of that name is replaced, and only once the whole
// result is written: a failure part-way (a full disk, a file held open) leaves the old file as
// it was.
bool RunBase64DecodeFile(const ActionCall& call) {
  const std::string_view text = std::string_view(call.Text(0));
  const std::string path = call.Param(1), variable = call.Param(2);
  std::vector<unsigned char> bytes(Base64DecodedBound(kTextCharsPerPiece));
  const FileFailure failure = WriteFileContent(path, [&](ByteSink& sink) {
    Base64Decoder decoder;
    for (std::size_t at = 0; at < text.size() && !decoder.finished(); at += kTextCharsPerPiece) {
      const std::size_t chars = std::min(kTextCharsPerPiece, text.size() - at);
      if (!sink.Put(bytes.data(), decoder.Decode(text.data() + at, chars, bytes.data())))
        return false;
    }
    return true;
  });
  if (failure) return ReportFileFailure(variable, failure);
  SetResultVariable(variable, kTrue);
  return true;
}
