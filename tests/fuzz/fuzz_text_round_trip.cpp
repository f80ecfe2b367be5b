// A file's bytes on their way into the editor and back: the line-break
// normaliser (fed in any pieces) and the code page 932 codec, with the
// position mapping between them. Bytes to the editor's text and back give
// the input with only its line breaks changed, every one of them CR LF.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/cp932.h"
#include "core/line_breaks.h"
#include "core/position_map.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

using quolvi::fuzz::Check;

std::string WithoutLineBreaks(const std::string& s) {
  std::string out;
  for (char c : s) {
    if (c != '\r' && c != '\n') out += c;
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  const std::size_t pieceLength = in.ConsumeIntegralInRange<std::size_t>(1, 64);
  std::string bytes = in.ConsumeRemainingBytesAsString();
  // The document holds no NUL: files with one are refused.
  bytes.erase(std::remove(bytes.begin(), bytes.end(), '\0'), bytes.end());

  const std::string whole = quolvi::NormalizeLineBreaks<char>(bytes);
  quolvi::LineBreakNormalizer normalizer;
  std::string pieces;
  for (std::size_t at = 0; at < bytes.size(); at += pieceLength) {
    normalizer.Feed(std::string_view(bytes).substr(at, pieceLength), pieces);
  }
  normalizer.Finish(pieces);
  Check(pieces == whole, "the pieces give what the whole gives");
  Check(WithoutLineBreaks(whole) == WithoutLineBreaks(bytes), "only line breaks change");
  for (std::size_t i = 0; i < whole.size(); ++i) {
    Check((whole[i] == '\r') == (i + 1 < whole.size() && whole[i + 1] == '\n'), "a CR begins a pair");
    Check(whole[i] != '\n' || (i > 0 && whole[i - 1] == '\r'), "an LF ends a pair");
  }
  Check(quolvi::NormalizeLineBreaks<char>(whole) == whole, "normal text stays");

  // Into the editor's UTF-16 with its marks and back, byte for byte;
  // positions map both ways.
  const quolvi::cp932::MarkedText decoded = quolvi::cp932::Decode(whole);
  const std::u16string& text = decoded.text;
  const std::vector<quolvi::cp932::Mark>& marks = decoded.marks;
  Check(quolvi::cp932::Encode(text, marks) == whole, "the codec gives the bytes back");
  Check(quolvi::ByteOffsetOfUnit(text, text.size(), marks) == whole.size(), "the end maps to the end");
  for (std::size_t unit = 0; unit <= text.size() && unit < 256; ++unit) {
    std::size_t offset = quolvi::ByteOffsetOfUnit(text, unit, marks);
    Check(quolvi::UnitOfByteOffset(text, offset, quolvi::Rounding::kDown, marks) == unit, "a unit's offset maps back");
  }
  return 0;
}
