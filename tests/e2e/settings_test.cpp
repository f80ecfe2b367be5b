// The settings file beside the program: what a start reads from it and what
// a close writes into it.
#include <windows.h>

#include <gtest/gtest.h>

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

TEST(SettingsTest, SettingsThatCannotBeWrittenAreReportedAndTheProgramStillEnds) {
  // A read-only attribute does not stop the owner of every file here (the
  // tests run as root); a folder in the file's place, or the file held open
  // by another program without sharing, does.
  for (bool held : {false, true}) {
    SCOPED_TRACE(held ? "held open" : "a folder in its place");
    Installation installation;
    const std::string path = installation.SettingsFile();
    const std::string before = Ini({{"WordWrap", "1"}});
    FileHandle file;
    if (held) {
      WriteBytes(path, before);
      file.Reset(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
      ASSERT_TRUE(file);
    } else {
      ASSERT_TRUE(CreateDirectoryA(path.c_str(), nullptr));
    }
    App app("", "", &installation);
    PostMessageA(app.window(), WM_CLOSE, 0, 0);
    EXPECT_EQ(app.AnswerBox(IDOK), path + " に書き込めません.");
    EXPECT_TRUE(app.WaitForExit());
    if (held) {
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
