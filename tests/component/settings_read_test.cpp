// What the main window takes from the settings file when it is created, in
// this process, where the menu's check mark can be read. The window looks
// for the file beside the running program: this test program.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>

#include "app/lumo_sub1.h"
#include "core/font_size.h"
#include "core/settings_value.h"
#include "tests/support/temp_dir.h"
#include "win32/profile.h"
#include "win32/shell.h"

namespace quolvi::test {
namespace {

class SettingsReadTest : public ::testing::Test {
 protected:
  ~SettingsReadTest() override { DeleteFileA(path_.c_str()); }
  // Creates the window from a settings file with these lines.
  TFLumoSub1& Start(const std::string& lines) {
    WriteBytes(path_, "[ZIDEVARE]\r\n" + lines);
    window_.reset();
    window_.emplace();
    EXPECT_TRUE(window_->Create(GetModuleHandleA(nullptr)));
    return *window_;
  }

  const std::string path_ = SettingsFilePath(ExecutablePath());
  std::optional<TFLumoSub1> window_;
};

TEST_F(SettingsReadTest, OnlyAOneTurnsWordWrapOnWithItsCheckMark) {
  for (const char* lines :
       {"WordWrap=1\r\n", "WordWrap=0x1\r\n", "WordWrap=2\r\n", "WordWrap=-1\r\n", "WordWrap=yes\r\n", ""}) {
    SCOPED_TRACE(lines);
    TFLumoSub1& window = Start(lines);
    bool on = lines == std::string("WordWrap=1\r\n") || lines == std::string("WordWrap=0x1\r\n");
    EXPECT_EQ(window.reEdit.WordWrap(), on);
    EXPECT_EQ((GetMenuState(window.MainMenu1(), mnWordWrap, MF_BYCOMMAND) & MF_CHECKED) != 0, on);
  }
}

TEST_F(SettingsReadTest, ValuesThatDoNotParseOrAnEmptyFaceKeepTheEditorsOwn) {
  TFLumoSub1& window = Start("BGColor=$00FF0000\r\nFGColor=1 2\r\nFontSize=abc\r\nFont=\r\n");
  EXPECT_EQ(window.reEdit.BackColor(), 0x00FF0000);
  EXPECT_EQ(window.reEdit.FontColor(), kClWindowText);
  EXPECT_EQ(window.reEdit.PointSize(), PointSizeFromHeight(-17, window.reEdit.ScreenDpi()));
  EXPECT_EQ(window.reEdit.FaceName(), "ＭＳ ゴシック");
}

TEST(ProfileTest, AValueLongerThanTheBufferIsCutToItsFirstBytes) {
  TempDir dir;
  const std::string file = dir.File("long.ini");
  for (const std::string& value : {std::string(1500, 'a'), std::string(1500, '\x82')}) {  // 0x8282 is one character
    WriteBytes(file, "[S]\r\nKey=" + value + "\r\n");
    const std::string read = ReadProfileString(file, "S", "Key", "");
    EXPECT_GE(read.size(), 1022u);
    EXPECT_LE(read.size(), 1023u);
    EXPECT_EQ(read.find('\0'), std::string::npos);
    EXPECT_TRUE(read == value.substr(0, read.size()));
  }
}

}  // namespace
}  // namespace quolvi::test
