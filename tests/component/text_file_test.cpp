// Loading and saving the document's files through the real control.
#include <windows.h>
#include <sddl.h>

#include <gtest/gtest.h>

#include <vector>

#include "app/messages.h"
#include "core/line_breaks.h"
#include "tests/support/editor_host.h"
#include "tests/support/temp_dir.h"
#include "win32/handles.h"

namespace quolvi::test {
namespace {

class TextFileTest : public ::testing::Test {
 protected:
  RichEditor& editor() { return host_.editor(); }

  // What the user is told of the FileError that f throws, or "" when it
  // throws none.
  template <class F>
  static std::string ErrorOf(F f) {
    try {
      f();
    } catch (const FileError& e) {
      return messages::TextOf(e);
    }
    return "";
  }

  void PrepareDocument() {
    editor().ReplaceSelectedText("keep 表");
    editor().SetSelectionStart(2);
    editor().SetSelectionLength(3);
    host_.ResetChanges();
  }
  void ExpectDocumentUnchanged() {
    EXPECT_EQ(editor().WholeText(), "keep 表");
    EXPECT_EQ(editor().SelectionStart(), 2);
    EXPECT_EQ(editor().SelectionLength(), 3);
    EXPECT_EQ(host_.changes(), 0);
  }

  EditorHost host_;
  TempDir dir_;
};

TEST_F(TextFileTest, LineBreaksOfEveryKindLoadAsCrLfAndSaveAsLoaded) {
  WriteBytes(dir_.File("mixed.txt"), "a\nb\rc\r\nd");
  editor().LoadTextFile(dir_.File("mixed.txt"));
  EXPECT_EQ(editor().WholeText(), "a\r\nb\r\nc\r\nd");
  EXPECT_EQ(editor().CountLines(), 4);
  editor().SaveTextFile(dir_.File("saved.txt"));
  EXPECT_EQ(ReadBytes(dir_.File("saved.txt")), "a\r\nb\r\nc\r\nd");
}

TEST_F(TextFileTest, AFinalLoneCrLoadsAsCrLf) {
  WriteBytes(dir_.File("cr.txt"), "end\r");
  editor().LoadTextFile(dir_.File("cr.txt"));
  EXPECT_EQ(editor().WholeText(), "end\r\n");
}

TEST_F(TextFileTest, AnEmptyFileEmptiesTheEditor) {
  PrepareDocument();
  WriteBytes(dir_.File("empty.txt"), "");
  editor().LoadTextFile(dir_.File("empty.txt"));
  EXPECT_EQ(editor().WholeText(), "");
  EXPECT_EQ(editor().CountLines(), 0);
}

TEST_F(TextFileTest, SavingWritesExactlyTheTextAndReplacesAnOldFile) {
  editor().ReplaceSelectedText("表\r\nlast line");
  WriteBytes(dir_.File("old.txt"), std::string(1000, 'o'));
  editor().SaveTextFile(dir_.File("old.txt"));
  EXPECT_EQ(ReadBytes(dir_.File("old.txt")), "表\r\nlast line");  // no BOM, no final break
  editor().ClearText();
  editor().SaveTextFile(dir_.File("old.txt"));
  EXPECT_EQ(ReadBytes(dir_.File("old.txt")), "");
}

TEST_F(TextFileTest, AMissingFileIsReportedAndChangesNothing) {
  PrepareDocument();
  std::string path = dir_.File("missing.txt");
  EXPECT_EQ(ErrorOf([&] { editor().LoadTextFile(path); }), messages::WithPath(messages::kCannotOpenFile, path));
  EXPECT_EQ(ErrorOf([&] { editor().LoadTextFile(path); }), "ﾌｧｲﾙ " + path + " は開けません");
  ExpectDocumentUnchanged();
}

TEST_F(TextFileTest, AFileInUseByAnotherProgramCannotBeLoadedOrSaved) {
  PrepareDocument();
  std::string path = dir_.File("busy.txt");
  WriteBytes(path, "busy");
  {
    FileHandle other(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                 0, nullptr));
    ASSERT_TRUE(other);
    EXPECT_EQ(ErrorOf([&] { editor().LoadTextFile(path); }), "ﾌｧｲﾙ " + path + " は開けません");
    EXPECT_EQ(ErrorOf([&] { editor().SaveTextFile(path); }), "ﾌｧｲﾙ " + path + " を作成できません");
  }
  ExpectDocumentUnchanged();
  EXPECT_EQ(ReadBytes(path), "busy");
}

TEST_F(TextFileTest, AFileWithANulByteIsRefusedBeforeTheEditorIsTouched) {
  PrepareDocument();
  std::string path = dir_.File("has-nul.txt");  // not "nul.txt": NUL is a device
  for (const std::string& bytes : {std::string("abc\0def", 7), std::string("\0abc", 4), std::string("abc\0", 4)}) {
    WriteBytes(path, bytes);  // at the start, in the middle and at the end
    EXPECT_EQ(ErrorOf([&] { editor().LoadTextFile(path); }), "ﾌｧｲﾙ " + path + " はNUL文字を含むため開けません");
    ExpectDocumentUnchanged();
  }
  // A NUL far into a large file is found too.
  std::string large(3 << 20, 'x');
  large[large.size() - 2] = '\0';
  WriteBytes(path, large);
  EXPECT_NE(ErrorOf([&] { editor().LoadTextFile(path); }), "");
  ExpectDocumentUnchanged();
}

TEST_F(TextFileTest, AFileLargerThanTheDocumentMayBeIsRefusedBeforeTheEditorIsTouched) {
  PrepareDocument();
  const std::string path = dir_.File("large.txt");
  const std::string tooLarge = "ﾌｧｲﾙ " + path + " は大きすぎるため開けません（上限 12 MB）";
  WriteBytes(path, std::string(kMaxDocumentBytes + 1, 'x'));
  EXPECT_EQ(ErrorOf([&] { editor().LoadTextFile(path); }), tooLarge);
  ExpectDocumentUnchanged();
  // Within the limit as a file, beyond it once its lone LFs are line breaks.
  WriteBytes(path, std::string(kMaxDocumentBytes / 2 + 1, '\n'));
  EXPECT_EQ(ErrorOf([&] { editor().LoadTextFile(path); }), tooLarge);
  ExpectDocumentUnchanged();
  // The largest file that opens, in lines of 100 bytes.
  std::string largest;
  while (largest.size() < kMaxDocumentBytes) largest += std::string(98, 'y') + "\r\n";
  largest.resize(kMaxDocumentBytes);
  WriteBytes(path, largest);
  EXPECT_EQ(ErrorOf([&] { editor().LoadTextFile(path); }), "");
  EXPECT_EQ(editor().WholeText().size(), kMaxDocumentBytes);
}

TEST_F(TextFileTest, OddFilesLoadAsTheyAreAndSaveBackByteForByte) {
  const std::string utf8 = "\xE6\x97\xA5\xE6\x9C\xAC\r\n";  // not Shift-JIS: shown garbled, kept as it is
  for (const std::string& bytes : {std::string("\r\n\r\n\r\n"), std::string("\xEF\xBB\xBF") + utf8, utf8,
                                   // every kind of byte that is no Shift-JIS character
                                   std::string("\x80|\xA0|\xFD\xFE\xFF|\x81\x7F|\x81 |\xA0\x40|\xFC")}) {
    SCOPED_TRACE(::testing::PrintToString(bytes));
    WriteBytes(dir_.File("odd.txt"), bytes);
    editor().LoadTextFile(dir_.File("odd.txt"));
    EXPECT_EQ(editor().WholeText(), bytes);
    editor().SaveTextFile(dir_.File("saved.txt"));
    EXPECT_EQ(ReadBytes(dir_.File("saved.txt")), bytes);
  }
  // A file of line breaks alone, of every kind.
  WriteBytes(dir_.File("breaks.txt"), "\n\n\r\r\n");
  editor().LoadTextFile(dir_.File("breaks.txt"));
  EXPECT_EQ(editor().WholeText(), "\r\n\r\n\r\n\r\n");
  EXPECT_EQ(editor().CountLines(), 4);
}

TEST_F(TextFileTest, NamesThatAreNoFileAreRefusedAndLongNamesWork) {
  PrepareDocument();
  // A folder and a device (the device NUL answers to nul.txt anywhere).
  for (const std::string& path : {dir_.path(), dir_.File("nul.txt"), dir_.File("con.txt")}) {
    EXPECT_EQ(ErrorOf([&] { editor().LoadTextFile(path); }), "ﾌｧｲﾙ " + path + " は開けません");
    ExpectDocumentUnchanged();
    EXPECT_EQ(ErrorOf([&] { editor().SaveTextFile(path); }), "ﾌｧｲﾙ " + path + " を作成できません");
  }
  // Names of 259 and 260 bytes: the longest the system takes, and one more.
  const std::string base = dir_.path() + "\\";
  for (std::size_t length : {259u, 260u}) {
    const std::string path = base + std::string(length - base.size() - 4, 'n') + ".txt";
    WriteBytes(path, "long");
    editor().LoadTextFile(path);
    EXPECT_EQ(editor().WholeText(), "long");
    editor().ReplaceSelectedText("new ");
    editor().SaveTextFile(path);
    EXPECT_EQ(ReadBytes(path), "new long");
  }
}

TEST_F(TextFileTest, LineBreaksAndDoubleByteCharactersAcrossEveryReadBoundary) {
  // A file of several megabytes with a CR LF pair, a lone CR, a lone LF and a
  // double-byte character straddling each of many read boundaries, whatever
  // the size of the reads.
  std::string bytes;
  const std::string pieces[] = {"\r\n", "\r", "\n", "表", "\r\r\n", "\n\r"};
  std::size_t round = 0;
  while (bytes.size() < (3u << 20)) {
    const std::string& piece = pieces[round % 6];
    std::size_t boundary = (bytes.size() / 4096 + 1) * 4096;
    std::size_t shift = round % piece.size();
    bytes.append(boundary - bytes.size() - shift, static_cast<char>('a' + round % 26));
    bytes += piece;
    ++round;
  }
  WriteBytes(dir_.File("big.txt"), bytes);
  editor().LoadTextFile(dir_.File("big.txt"));
  std::string expected = NormalizeLineBreaks<char>(bytes);
  ASSERT_EQ(editor().WholeText(), expected);
  editor().SaveTextFile(dir_.File("big-saved.txt"));
  EXPECT_EQ(ReadBytes(dir_.File("big-saved.txt")), expected);
}

// The owner, group and access list of a file, as the system gives them.
std::vector<BYTE> SecurityOf(const std::string& path) {
  constexpr SECURITY_INFORMATION kAll =
      OWNER_SECURITY_INFORMATION | GROUP_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION;
  DWORD size = 0;
  GetFileSecurityA(path.c_str(), kAll, nullptr, 0, &size);
  std::vector<BYTE> security(size);
  if (!GetFileSecurityA(path.c_str(), kAll, security.data(), size, &size)) security.clear();
  return security;
}

// Lets no one but the system and the file's owner (this program's user) use it.
bool LimitToOwner(const std::string& path) {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return false;
  KernelHandle owned(token);
  char user[256];
  DWORD size = sizeof user;
  char* sid = nullptr;
  if (!GetTokenInformation(token, TokenUser, user, size, &size) ||
      !ConvertSidToStringSidA(reinterpret_cast<TOKEN_USER*>(user)->User.Sid, &sid)) {
    return false;
  }
  const std::string sddl = "D:P(A;;FA;;;SY)(A;;FA;;;" + std::string(sid) + ")";
  LocalFree(sid);
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl.c_str(), SDDL_REVISION_1, &descriptor, nullptr))
    return false;
  const bool set = SetFileSecurityA(path.c_str(), DACL_SECURITY_INFORMATION, descriptor);
  LocalFree(descriptor);
  return set;
}

// Whether the two names lead to the one file.
bool SameFile(const std::string& a, const std::string& b) {
  BY_HANDLE_FILE_INFORMATION info[2]{};
  const std::string* names[] = {&a, &b};
  for (int i = 0; i < 2; ++i) {
    FileHandle file(
        CreateFileA(names[i]->c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file || !GetFileInformationByHandle(file.Get(), &info[i])) return false;
  }
  return info[0].dwVolumeSerialNumber == info[1].dwVolumeSerialNumber &&
         info[0].nFileIndexHigh == info[1].nFileIndexHigh && info[0].nFileIndexLow == info[1].nFileIndexLow;
}

TEST_F(TextFileTest, SavingKeepsTheFilesAccessAndWritesThroughALinkToItsFile) {
  // A file only its owner may use stays so (under Wine: others still get
  // nothing of its Unix mode).
  const std::string target = dir_.File("target.txt");
  WriteBytes(target, "old");
  ASSERT_TRUE(LimitToOwner(target));
  const std::vector<BYTE> access = SecurityOf(target);
  ASSERT_FALSE(access.empty());
  editor().ReplaceSelectedText("new");
  editor().SaveTextFile(target);
  EXPECT_EQ(ReadBytes(target), "new");
  EXPECT_TRUE(SecurityOf(target) == access);
  // Saved through a symbolic link, the text reaches the file it leads to,
  // and the link stays a link to it.
  const std::string link = dir_.File("link.txt");
  if (!MakeSymbolicLink(link, "target.txt")) GTEST_SKIP() << "no symbolic link can be made here";
  editor().ReplaceSelectedText(" linked");
  editor().SaveTextFile(link);
  EXPECT_EQ(ReadBytes(target), "new linked");
  EXPECT_TRUE(SameFile(link, target));
  EXPECT_TRUE(SecurityOf(target) == access);
}

TEST_F(TextFileTest, TheFileIsClosedAfterLoadingAndSaving) {
  std::string path = dir_.File("closed.txt");
  WriteBytes(path, "x");
  editor().LoadTextFile(path);
  editor().SaveTextFile(path);
  EXPECT_TRUE(DeleteFileA(path.c_str()));
}

}  // namespace
}  // namespace quolvi::test
