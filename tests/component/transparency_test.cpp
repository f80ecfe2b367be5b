// Every byte sequence without NUL loads and saves back byte for byte (line
// breaks aside), through the real control.
#include <gtest/gtest.h>

#include <random>

#include "core/cp932.h"
#include "core/line_breaks.h"
#include "tests/support/editor_host.h"
#include "tests/support/temp_dir.h"

namespace quolvi::test {
namespace {

// Every double-byte code, every single byte but NUL, CR and LF, lead bytes
// without their trail, and lead bytes before bytes that are no trail byte.
std::string Corpus() {
  std::string corpus;
  for (int lead = 0x81; lead <= 0xFC; ++lead) {
    if (!cp932::IsLeadByte(static_cast<unsigned char>(lead))) continue;
    for (int trail = 0x40; trail <= 0xFC; ++trail) {
      if (trail == 0x7F) continue;
      corpus.push_back(static_cast<char>(lead));
      corpus.push_back(static_cast<char>(trail));
    }
    corpus += "\r\n";
  }
  for (int b = 1; b < 0x100; ++b) {
    if (b != '\r' && b != '\n') corpus.push_back(static_cast<char>(b));
  }
  for (int lead : {0x81, 0x95, 0x9F, 0xE0, 0xFC}) {
    for (int next : {0x01, 0x09, 0x20, 0x3F, 0x7F, 0xFD, 0xFE, 0xFF}) {
      corpus.push_back(static_cast<char>(lead));
      corpus.push_back(static_cast<char>(next));
    }
    corpus.push_back(static_cast<char>(lead));
    corpus += "\r\n";
  }
  corpus.push_back('\x95');  // a lead byte at the very end
  return corpus;
}

TEST(TransparencyTest, TheCorpusLoadsAndSavesBackByteForByte) {
  EditorHost host;
  TempDir dir;
  const std::string corpus = Corpus();
  WriteBytes(dir.File("in.txt"), corpus);
  host.editor().LoadTextFile(dir.File("in.txt"));
  ASSERT_EQ(host.editor().WholeText(), corpus);
  host.editor().SaveTextFile(dir.File("out.txt"));
  EXPECT_EQ(ReadBytes(dir.File("out.txt")), corpus);
}

TEST(TransparencyTest, TheCorpusSurvivesWordWrapSwitches) {
  EditorHost host;
  const std::string corpus = Corpus();
  host.editor().ReplaceSelectedText(corpus);
  host.editor().SetWordWrap(true);
  EXPECT_EQ(host.editor().WholeText(), corpus);
  host.editor().SetWordWrap(false);
  EXPECT_EQ(host.editor().WholeText(), corpus);
}

TEST(TransparencyTest, RandomBytesComeBackWithOnlyTheirLineBreaksChanged) {
  EditorHost host;
  TempDir dir;
  std::mt19937 random(20261207);
  std::uniform_int_distribution<int> byte(1, 255);
  std::string bytes(1 << 20, '\0');
  for (char& c : bytes) c = static_cast<char>(byte(random));
  WriteBytes(dir.File("random.bin"), bytes);
  host.editor().LoadTextFile(dir.File("random.bin"));
  host.editor().SaveTextFile(dir.File("saved.bin"));
  EXPECT_EQ(ReadBytes(dir.File("saved.bin")), NormalizeLineBreaks<char>(bytes));
}

TEST(TransparencyTest, SelectedTextAndPositionsAgreeWithWholeText) {
  EditorHost host;
  const std::string text = "a表\x80\r\n\x87\x90ｱ\x95";
  host.editor().ReplaceSelectedText(text);
  const auto size = static_cast<Position>(text.size());
  for (Position start = 0; start <= size;) {
    host.editor().SetSelectionStart(start);
    host.editor().SetSelectionLength(size - start);
    ASSERT_EQ(host.editor().SelectionStart(), start);
    ASSERT_EQ(host.editor().SelectedText(), text.substr(start));
    // The two bytes of a line break are one character to the control.
    std::size_t length = start < size ? cp932::CharLength(text, start) : 1;
    if (text.compare(start, 2, "\r\n") == 0) length = 2;
    start += static_cast<Position>(length);
  }
}

}  // namespace
}  // namespace quolvi::test
