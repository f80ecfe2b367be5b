// The settings file beside the program: what a start reads from it and what
// a close writes into it.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <utility>
#include <vector>

#include "core/font_size.h"
#include "tests/e2e/app_driver.h"
#include "tests/support/temp_dir.h"
#include "tests/support/wait.h"

namespace quolvi::test {
namespace {

using Values = std::vector<std::pair<std::string, std::string>>;

// A settings file with the values, in order, as the profile functions write it.
std::string Ini(const Values& values) {
  std::string text = "[ZIDEVARE]\r\n";
  for (const auto& [key, value] : values) text += key + "=" + value + "\r\n";
  return text;
}

RECT Frame(const App& app) {
  RECT frame;
  GetWindowRect(app.window(), &frame);
  return frame;
}

void CloseAndWait(App& app) {
  PostMessageA(app.window(), WM_CLOSE, 0, 0);
  ASSERT_TRUE(app.WaitForExit());
}

TEST(SettingsTest, WithoutAFileTheCloseWritesTheCentredWindowAndTheEditorsDefaults) {
  Installation installation;
  App app("", "", &installation);
  RECT frame = Frame(app);
  EXPECT_EQ(frame.right - frame.left, 491);
  EXPECT_EQ(frame.bottom - frame.top, 391);
  const int left = (GetSystemMetrics(SM_CXSCREEN) - 491) / 2;
  const int top = (GetSystemMetrics(SM_CYSCREEN) - 391) / 2;
  const int points = PointSizeFromHeight(-17, GetDeviceCaps(ScreenDC().Get(), LOGPIXELSY));
  CloseAndWait(app);
  EXPECT_EQ(ReadBytes(installation.SettingsFile()), Ini({{"Left", std::to_string(left)},
                                                         {"Top", std::to_string(top)},
                                                         {"Width", "491"},
                                                         {"Height", "391"},
                                                         {"WordWrap", "0"},
                                                         {"BGColor", "-2147483643"},
                                                         {"FGColor", "-2147483640"},
                                                         {"FontSize", std::to_string(points)},
                                                         {"Font", "ＭＳ ゴシック"}}));
}

TEST(SettingsTest, AllNineValuesAreAppliedAndWrittenBackAtTheClose) {
  Installation installation;
  WriteBytes(installation.SettingsFile(), Ini({{"Left", "40"},
                                               {"Top", "30"},
                                               {"Width", "600"},
                                               {"Height", "420"},
                                               {"WordWrap", "0x1"},
                                               {"BGColor", "$00FF0000"},
                                               {"FGColor", "255"},
                                               {"FontSize", "20"},
                                               {"Font", "ＭＳ 明朝"}}));
  App app("", "", &installation);
  RECT frame = Frame(app);
  EXPECT_EQ(frame.left, 40);
  EXPECT_EQ(frame.top, 30);
  EXPECT_EQ(frame.right, 640);
  EXPECT_EQ(frame.bottom, 450);
  EXPECT_FALSE(GetWindowLongA(app.editor(), GWL_STYLE) & ES_AUTOHSCROLL);  // wraps
  EXPECT_EQ(app.EditorBackground(), RGB(0, 0, 255));
  // Minimised, the window stands for the place and size it is restored to.
  ShowWindow(app.window(), SW_MINIMIZE);
  ASSERT_TRUE(WaitUntil([&] { return IsIconic(app.window()) != FALSE; }));
  CloseAndWait(app);
  EXPECT_EQ(ReadBytes(installation.SettingsFile()), Ini({{"Left", "40"},
                                                         {"Top", "30"},
                                                         {"Width", "600"},
                                                         {"Height", "420"},
                                                         {"WordWrap", "1"},
                                                         {"BGColor", "16711680"},
                                                         {"FGColor", "255"},
                                                         {"FontSize", "20"},
                                                         {"Font", "ＭＳ 明朝"}}));
}

TEST(SettingsTest, APositionWithANegativeEdgeIsNotAppliedButTheSizeIs) {
  Installation installation;
  WriteBytes(installation.SettingsFile(), Ini({{"Left", "100"}, {"Top", "-4"}, {"Width", "500"}, {"Height", "300"}}));
  App app("", "", &installation);
  RECT frame = Frame(app);
  EXPECT_EQ(frame.left, (GetSystemMetrics(SM_CXSCREEN) - 500) / 2);
  EXPECT_EQ(frame.top, (GetSystemMetrics(SM_CYSCREEN) - 300) / 2);
  EXPECT_EQ(frame.right - frame.left, 500);
  EXPECT_EQ(frame.bottom - frame.top, 300);
}

TEST(SettingsTest, OutlandishValuesLeaveTheWindowUsableAndClosable) {
  const Values files[] = {
      {{"Width", "100000"},
       {"Height", "100000"},
       {"BGColor", "$FFFFFFFF"},
       {"FGColor", "$7FFFFFFF"},
       {"FontSize", "2147483647"}},
      {{"Left", "0"}, {"Top", "0"}, {"Width", "0"}, {"Height", "0"}, {"BGColor", "$800000FF"}, {"FontSize", "0"}},
      {{"Left", "2147483647"},
       {"Top", "2147483647"},
       {"Width", "99999999999"},
       {"Height", "300"},
       {"FontSize", "-2147483648"},
       {"Font", std::string(2000, 'x')}},
      {{"FontSize", "100000000"}},
  };
  for (const Values& values : files) {
    SCOPED_TRACE(Ini(values));
    Installation installation;
    WriteBytes(installation.SettingsFile(), Ini(values));
    App app("", "", &installation);
    app.Activate();
    app.Type(u"abc");
    EXPECT_TRUE(WaitUntil([&] { return app.EditorText() == "abc"; }));
    app.Press(VK_ESCAPE);
    EXPECT_EQ(app.AnswerBox(IDOK), "編集中の内容を破棄して終了します　　");
    EXPECT_TRUE(app.WaitForExit());
  }
}

// Lines of the bytes 1 to 253 but CR and LF, as a damaged or foreign file holds
// them: bracketed and unbracketed section names, keys without values,
// values without keys, comments, double-byte text, long lines.
std::string GarbageLines(int count) {
  std::uint32_t state = 12345;
  auto next = [&state] { return (state = state * 1103515245 + 12345) >> 16; };
  std::string text;
  for (int line = 0; line < count; ++line) {
    const int length = static_cast<int>(next() % (line % 100 == 0 ? 3000 : 80));
    for (int i = 0; i < length; ++i) {
      char c = static_cast<char>(next() % 253 + 1);
      if (c == '\r' || c == '\n') c = '=';
      text += c;
    }
    text += "\r\n";
  }
  return text;
}

// What the next start reads from the file, key by key.
std::string ReadBack(const std::string& file, const char* section, const char* key) {
  char value[1024] = "";
  GetPrivateProfileStringA(section, key, "(none)", value, sizeof value, file.c_str());
  return value;
}

TEST(SettingsTest, DamagedFilesGiveTheDefaultsOrTheFirstValueAndTheCloseWritesAllNineReadably) {
  const int points = PointSizeFromHeight(-17, GetDeviceCaps(ScreenDC().Get(), LOGPIXELSY));
  const std::string good = Ini({{"Left", "40"},
                                {"Top", "30"},
                                {"Width", "600"},
                                {"Height", "420"},
                                {"WordWrap", "1"},
                                {"BGColor", "$00FF0000"},
                                {"FGColor", "255"},
                                {"FontSize", "20"},
                                {"Font", "ＭＳ 明朝"}});
  const std::string longFace(1500, '\x82');  // 750 times "ｂ" (0x82 0x82)
  struct Case {
    const char* name;
    std::string file;
    bool applied;  // good's values, else the defaults
    Values written;
    std::string otherSection;  // a value of section "Other" that the close keeps
  };
  const Case cases[] = {
      {"a malformed value for every key",
       Ini({{"Left", "- 5"},
            {"Top", "5 x"},
            {"Width", "$"},
            {"Height", "0x"},
            {"WordWrap", "yes"},
            {"BGColor", "-$5"},
            {"FGColor", "$100000000"},
            {"FontSize", "2147483648"},
            {"Font", longFace}}),
       false,
       {{"WordWrap", "0"},
        {"BGColor", "-2147483643"},
        {"FGColor", "-2147483640"},
        {"FontSize", std::to_string(points)},
        {"Font", longFace.substr(0, 30)}},
       ""},
      {"every key twice, and the section twice",
       good + "Left=300\r\nWordWrap=0\r\nBGColor=0\r\n[zidevare]\r\nTop=500\r\nFGColor=0\r\n",
       true,
       {{"Left", "40"}, {"Top", "30"}, {"WordWrap", "1"}, {"BGColor", "16711680"}, {"FGColor", "255"}},
       ""},
      {"no section, and the keys elsewhere",
       "Left=40\r\nTop=30\r\nWordWrap=1\r\n[Other]\r\nWidth=600\r\nKey=kept\r\n",
       false,
       {{"WordWrap", "0"}, {"BGColor", "-2147483643"}, {"Font", "ＭＳ ゴシック"}},
       "kept"},
      {"10,000 lines of garbage before the section, and after it",
       "[Other]\r\nKey=kept\r\n" + GarbageLines(10000) + good + GarbageLines(50),
       true,
       {{"Width", "600"}, {"Height", "420"}, {"WordWrap", "1"}, {"FontSize", "20"}, {"Font", "ＭＳ 明朝"}},
       "kept"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Installation installation;
    const std::string file = installation.SettingsFile();
    WriteBytes(file, c.file);
    App app("", "", &installation);
    const RECT frame = Frame(app);
    if (c.applied) {
      EXPECT_EQ(frame.left, 40);
      EXPECT_EQ(frame.top, 30);
      EXPECT_EQ(frame.right - frame.left, 600);
      EXPECT_EQ(frame.bottom - frame.top, 420);
      EXPECT_EQ(app.EditorBackground(), RGB(0, 0, 255));
    } else {
      EXPECT_EQ(frame.left, (GetSystemMetrics(SM_CXSCREEN) - 491) / 2);
      EXPECT_EQ(frame.right - frame.left, 491);
      EXPECT_EQ(frame.bottom - frame.top, 391);
      EXPECT_EQ(app.EditorBackground(), GetSysColor(COLOR_WINDOW));
    }
    EXPECT_EQ((GetWindowLongA(app.editor(), GWL_STYLE) & ES_AUTOHSCROLL) == 0, c.applied);  // wraps
    // The program works, and its close writes: a new file, or what the
    // profile functions make of the old one.
    app.Activate();
    app.Type(u"abc");
    EXPECT_TRUE(WaitUntil([&] { return app.EditorText() == "abc"; }));
    app.Press(VK_ESCAPE);
    EXPECT_EQ(app.AnswerBox(IDOK), "編集中の内容を破棄して終了します　　");
    ASSERT_TRUE(app.WaitForExit());
    EXPECT_EQ(ReadBack(file, "ZIDEVARE", "Left"), std::to_string(frame.left));
    EXPECT_EQ(ReadBack(file, "ZIDEVARE", "Height"), std::to_string(frame.bottom - frame.top));
    for (const auto& [key, value] : c.written) {
      EXPECT_EQ(ReadBack(file, "ZIDEVARE", key.c_str()), value) << key;
    }
    if (!c.otherSection.empty()) {
      EXPECT_EQ(ReadBack(file, "Other", "Key"), c.otherSection);
    }
  }
}

TEST(SettingsTest, SettingsThatCannotBeWrittenAreReportedAndTheProgramStillEnds) {
  // A read-only attribute does not stop the owner of every file here (the
  // tests run as root); a folder in the file's place, or the file held open
  // by another program, does. Held open for reading only, it is as a
  // read-only file: read, but not written.
  enum class Hold { kFolder, kWithoutSharing, kSharingReads };
  for (Hold hold : {Hold::kFolder, Hold::kWithoutSharing, Hold::kSharingReads}) {
    SCOPED_TRACE(static_cast<int>(hold));
    Installation installation;
    const std::string path = installation.SettingsFile();
    const std::string before = Ini({{"WordWrap", "1"}});
    FileHandle file;
    if (hold == Hold::kFolder) {
      ASSERT_TRUE(CreateDirectoryA(path.c_str(), nullptr));
    } else {
      WriteBytes(path, before);
      const DWORD share = hold == Hold::kSharingReads ? FILE_SHARE_READ : 0;
      file.Reset(CreateFileA(path.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, 0, nullptr));
      ASSERT_TRUE(file);
    }
    App app("", "", &installation);
    const bool read = hold == Hold::kSharingReads;
    EXPECT_EQ((GetWindowLongA(app.editor(), GWL_STYLE) & ES_AUTOHSCROLL) == 0, read);  // wraps
    PostMessageA(app.window(), WM_CLOSE, 0, 0);
    EXPECT_EQ(app.AnswerBox(IDOK), path + " に書き込めません.");
    EXPECT_TRUE(app.WaitForExit());
    if (file) {
      file.Reset();
      EXPECT_EQ(ReadBytes(path), before);
    }
  }
}

TEST(SettingsTest, TheInstanceThatClosesLastLeavesItsValues) {
  Installation installation;
  App first("", "", &installation);
  App second("", "", &installation);
  SetWindowPos(first.window(), nullptr, 10, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  SetWindowPos(second.window(), nullptr, 30, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  auto position = [&] {
    const std::string text = ReadBytes(installation.SettingsFile());
    return text.substr(0, text.find("Width"));
  };
  CloseAndWait(second);
  EXPECT_EQ(position(), Ini({{"Left", "30"}, {"Top", "40"}}));
  CloseAndWait(first);
  EXPECT_EQ(position(), Ini({{"Left", "10"}, {"Top", "20"}}));
}

}  // namespace
}  // namespace quolvi::test
