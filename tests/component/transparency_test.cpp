// Every byte sequence without NUL loads and saves back byte for byte (line
// breaks aside), through the real control, while the control shows and copies
// every character as the system's conversion gives it.
#include <windows.h>

#include <imm.h>

#include <gtest/gtest.h>

#include <random>

#include "core/cp932.h"
#include "core/line_breaks.h"
#include "core/replace_all.h"
#include "tests/support/editor_host.h"
#include "tests/support/temp_dir.h"
#include "tests/support/wait.h"

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

// Where the corpus's row of a lead byte starts.
Position RowOf(int lead) {
  int index = lead <= 0x9F ? lead - 0x81 : lead - 0xE0 + 31;
  return index * (188 * 2 + 2);
}

// What the user sees for bytes, by the system's own conversion: its
// character for every code it has one for, and U+FFFD for each code or byte
// that is no character.
std::u16string Shown(std::string_view bytes) {
  std::u16string shown;
  for (std::size_t i = 0; i < bytes.size();) {
    std::size_t length = cp932::CharLength(bytes, i);
    auto b = static_cast<unsigned char>(bytes[i]);
    wchar_t c = 0;
    bool isCharacter = length == 2 || b < 0x80 || (b >= 0xA1 && b <= 0xDF);
    if (!isCharacter ||
        MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, bytes.data() + i, static_cast<int>(length), &c, 1) != 1) {
      c = 0xFFFD;
    }
    shown.push_back(static_cast<char16_t>(c));
    i += length;
  }
  return shown;
}

class TransparencyTest : public ::testing::Test {
 protected:
  RichEditor& editor() { return host_.editor(); }
  // The editor holds bytes: it shows them as the system would and gives
  // them back unchanged.
  void ExpectHolds(const std::string& bytes) {
    EXPECT_EQ(ControlText(editor().Handle()), Shown(bytes));
    EXPECT_EQ(editor().WholeText(), bytes);
  }

  EditorHost host_;
  TempDir dir_;
};

TEST_F(TransparencyTest, TheCorpusShowsAsTheSystemsCharactersAndSavesBackByteForByte) {
  const std::string corpus = Corpus();
  WriteBytes(dir_.File("in.txt"), corpus);
  editor().LoadTextFile(dir_.File("in.txt"));
  ExpectHolds(corpus);
  editor().SaveTextFile(dir_.File("out.txt"));
  EXPECT_EQ(ReadBytes(dir_.File("out.txt")), corpus);

  // Copied, the NEC row 13 and the NEC-selected IBM extensions are the
  // system's characters (≒ for 0x8790, 纊 for 0xED40); stray bytes are U+FFFD.
  editor().SetSelectionStart(RowOf(0x87));
  editor().SetSelectionLength(RowOf(0x88) - RowOf(0x87));
  editor().CopySelection();
  std::u16string copied = ReadClipboardText(host_.window());
  EXPECT_EQ(copied, Shown(corpus.substr(RowOf(0x87), RowOf(0x88) - RowOf(0x87))));
  EXPECT_EQ(copied[0x90 - 0x41], u'\u2252');
  editor().SetSelectionStart(RowOf(0xED));
  editor().SetSelectionLength(2);
  editor().CopySelection();
  EXPECT_EQ(ReadClipboardText(host_.window()), u"\u7E8A");
  const auto singles = static_cast<Position>(corpus.find("\x7E\x7F\x80"));
  editor().SetSelectionStart(singles + 2);
  editor().SetSelectionLength(1);
  editor().CopySelection();
  EXPECT_EQ(ReadClipboardText(host_.window()), u"\uFFFD");
}

TEST_F(TransparencyTest, TheCorpusSurvivesWordWrapSwitchesReplaceAllAndUndo) {
  std::string corpus = Corpus() + "\r\nold";
  editor().ReplaceSelectedText(corpus);
  editor().SetWordWrap(true);
  ExpectHolds(corpus);
  editor().SetWordWrap(false);
  ExpectHolds(corpus);

  editor().SetSelectionStart(0);
  EXPECT_EQ(ReplaceAll(editor(), SearchFields{"old", "new", kOptionReplaceAll}), 1);
  corpus.replace(corpus.size() - 3, 3, "new");
  ExpectHolds(corpus);

  // Typing over a run of marked characters, then undoing it.
  const Position from = RowOf(0x87);
  editor().SetSelectionStart(from);
  editor().SetSelectionLength(400);
  SendMessageW(editor().Handle(), WM_CHAR, 'z', 1);
  ASSERT_EQ(editor().WholeText(), corpus.substr(0, from) + "z" + corpus.substr(from + 400));
  ASSERT_TRUE(editor().UndoAvailable());
  editor().UndoLastEdit();
  ExpectHolds(corpus);
  editor().SaveTextFile(dir_.File("out.txt"));
  EXPECT_EQ(ReadBytes(dir_.File("out.txt")), corpus);
}

TEST_F(TransparencyTest, TypedAndPastedCharactersAreWrittenAsTheSystemWritesThem) {
  editor().ReplaceSelectedText("\xED\x40\x80");  // 纊 as the NEC-selected code, a stray byte
  editor().SetSelectionStart(2);
  SendMessageW(editor().Handle(), WM_CHAR, L'纊', 1);
  EXPECT_EQ(editor().WholeText(), "\xED\x40\xFA\x5C\x80");
  // Over a selection that starts with the marked character.
  editor().SetSelectionStart(0);
  editor().SetSelectionLength(2);
  SendMessageW(editor().Handle(), WM_CHAR, L'纊', 1);
  EXPECT_EQ(editor().WholeText(), "\xFA\x5C\xFA\x5C\x80");
  // Undone in one step, the marked character comes back with its mark.
  editor().UndoLastEdit();
  EXPECT_EQ(editor().WholeText(), "\xED\x40\xFA\x5C\x80");
  editor().SetSelectionStart(0);
  editor().SetSelectionLength(2);
  SendMessageW(editor().Handle(), WM_CHAR, L'纊', 1);
  // After the stray byte: the placeholder itself, private-use characters
  // and characters the system would write as stray bytes.
  editor().SetSelectionStart(5);
  SendMessageW(editor().Handle(), WM_CHAR, 0xFFFD, 1);
  PutClipboardText(host_.window(), u"\uFFFD\uE800\uF780\uF7FF\u0080\uF8F0\uE000");
  editor().PasteClipboard();
  // A character beyond the first plane, two units to the control, before the
  // marked placeholder: one "?".
  editor().SetSelectionStart(0);
  SendMessageW(editor().Handle(), WM_UNICHAR, 0x1F600, 1);
  editor().SaveTextFile(dir_.File("out.txt"));
  // U+E000 is the first user-defined character, 0xF040.
  EXPECT_EQ(ReadBytes(dir_.File("out.txt")),
            "?\xFA\x5C\xFA\x5C\x80?"
            "??????\xF0\x40");
}

TEST_F(TransparencyTest, WhatAnInputMethodCommitsInTheControlTakesTheNeutralFormat) {
  editor().ReplaceSelectedText("\xED\x40\x80");  // 纊 as the NEC-selected code, a stray byte
  editor().SetSelectionStart(2);
  // Composed in the control, then committed: the control is sent
  // WM_IME_COMPOSITION with the composition, then with the result.
  HWND control = editor().Handle();
  HIMC context = ImmGetContext(control);
  ASSERT_NE(context, nullptr);
  wchar_t composed[] = L"纊予";
  EXPECT_TRUE(ImmSetCompositionStringW(context, SCS_SETSTR, composed, sizeof composed - sizeof(wchar_t), nullptr, 0));
  EXPECT_TRUE(ImmNotifyIME(context, NI_COMPOSITIONSTR, CPS_COMPLETE, 0));
  ImmReleaseContext(control, context);
  EXPECT_TRUE(WaitUntil([&] { return editor().WholeText() == "\xED\x40\xFA\x5C予\x80"; })) << editor().WholeText();
  EXPECT_EQ(editor().SelectionStart(), 6);
  editor().UndoLastEdit();
  EXPECT_EQ(editor().WholeText(), "\xED\x40\x80");
}

// The colour a character of the editor shows in.
COLORREF ColorAt(RichEditor& editor, Position at) {
  editor.Select(at, 1);
  return CharFormatOf(editor.Handle(), SCF_SELECTION).crTextColor;
}

TEST_F(TransparencyTest, MarkedCharactersTakeTheirShadesFromNewSystemColours) {
  const std::string text = "a\xED\x40\x80";  // a marked character, a stray byte
  editor().ReplaceSelectedText(text);
  const COLORREF before = ColorAt(editor(), 1);
  // The automatic text colour changes (for the whole session: it is put
  // back however the test ends).
  struct SystemColor {
    int element = COLOR_WINDOWTEXT;
    COLORREF old = GetSysColor(COLOR_WINDOWTEXT);
    ~SystemColor() { SetSysColors(1, &element, &old); }
  } windowText;
  const COLORREF red = RGB(200, 0, 0);
  ASSERT_TRUE(SetSysColors(1, &windowText.element, &red));
  PumpMessages();
  EditorHost fresh;
  fresh.editor().ReplaceSelectedText(text);
  EXPECT_NE(ColorAt(fresh.editor(), 1), before);
  EXPECT_EQ(ColorAt(editor(), 1), ColorAt(fresh.editor(), 1));
  EXPECT_EQ(ColorAt(editor(), 3), ColorAt(fresh.editor(), 3));
  EXPECT_EQ(editor().WholeText(), text);
}

TEST_F(TransparencyTest, RandomBytesComeBackWithOnlyTheirLineBreaksChanged) {
  std::mt19937 random(20261207);
  std::uniform_int_distribution<int> byte(1, 255);
  std::string bytes(1 << 20, '\0');
  for (char& c : bytes) c = static_cast<char>(byte(random));
  WriteBytes(dir_.File("random.bin"), bytes);
  editor().LoadTextFile(dir_.File("random.bin"));
  editor().SaveTextFile(dir_.File("saved.bin"));
  EXPECT_EQ(ReadBytes(dir_.File("saved.bin")), NormalizeLineBreaks<char>(bytes));
}

TEST_F(TransparencyTest, SelectedTextAndPositionsAgreeWithWholeText) {
  const std::string text = "a表\x80\r\n\x87\x90ｱ\x85\x40\x95";
  editor().ReplaceSelectedText(text);
  const auto size = static_cast<Position>(text.size());
  for (Position start = 0; start <= size;) {
    editor().SetSelectionStart(start);
    editor().SetSelectionLength(size - start);
    ASSERT_EQ(editor().SelectionStart(), start);
    ASSERT_EQ(editor().SelectedText(), text.substr(start));
    // The two bytes of a line break are one character to the control.
    std::size_t length = start < size ? cp932::CharLength(text, start) : 1;
    if (text.compare(start, 2, "\r\n") == 0) length = 2;
    start += static_cast<Position>(length);
  }
}

}  // namespace
}  // namespace quolvi::test
