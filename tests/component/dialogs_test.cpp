// The main window's dialogs: find and replace, the font, the file dialogs'
// folders, and the message box every command speaks through.
#include "tests/component/main_window_fixture.h"
#include "tests/support/editor_host.h"

namespace quolvi::test {
namespace {

class DialogsTest : public MainWindowFixture {};

TEST_F(DialogsTest, TheFindDialogReopensWhereItWasClosed) {
  auto findDialog = [&] { return OwnedDialog(window_.Handle()); };
  Choose(mnSrch);
  HWND dialog = findDialog();
  ASSERT_NE(dialog, nullptr);
  SetWindowPos(dialog, nullptr, 123, 77, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)));
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
  Choose(mnSrch);
  HWND reopened = findDialog();
  ASSERT_NE(reopened, nullptr);
  RECT frame;
  GetWindowRect(reopened, &frame);
  EXPECT_EQ(frame.left, 123);
  EXPECT_EQ(frame.top, 77);
  DestroyWindow(reopened);
}

TEST_F(DialogsTest, NewEmptiesTheSearchTextsOfBothDialogsAndLeavesFindNextNothingToDo) {
  SetText("abcb");
  window_.reEdit.SetSelectionStart(0);
  // Opens a search dialog, fills its fields and presses one of its buttons.
  auto use = [&](UINT command, const char* find, const char* replacement, int button) {
    Choose(command);
    HWND dialog = OwnedDialog(window_.Handle());
    if (!dialog) return dialog;
    if (find) SetDlgItemTextA(dialog, edt1, find);
    if (replacement) SetDlgItemTextA(dialog, edt2, replacement);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, button)));
    if (button == IDCANCEL) WaitUntil([&] { return !IsWindow(dialog); });
    return dialog;
  };
  ASSERT_NE(use(mnSrch, "b", nullptr, IDOK), nullptr);
  EXPECT_EQ(window_.reEdit.SelectionStart(), 1);  // found with the dialog's text
  Choose(mnSrchNxt);
  EXPECT_EQ(window_.reEdit.SelectionStart(), 3);  // F3 repeats it
  use(mnSrch, nullptr, nullptr, IDCANCEL);
  window_.reEdit.SetSelectionStart(0);  // a "c" to find: from the end the search would say it finds none
  ASSERT_NE(use(mnRepl, "c", "d", IDOK), nullptr);
  use(mnRepl, nullptr, nullptr, IDCANCEL);

  Answerer answers({IDOK});
  Choose(mnNew);
  ASSERT_EQ(answers.Texts(), std::vector<std::string>{"編集中の内容を破棄して新規作成します　　"});
  SetText("abcb");
  window_.reEdit.SetSelectionStart(0);
  Choose(mnSrchNxt);
  EXPECT_EQ(window_.reEdit.SelectionStart(), 0);  // no text: nothing searched, no message
  EXPECT_EQ(window_.reEdit.SelectionLength(), 0);
  EXPECT_EQ(answers.seen.size(), 1u);
  // Opened again, the dialogs show empty fields.
  for (UINT command : {mnSrch, mnRepl}) {
    Choose(command);
    HWND dialog = OwnedDialog(window_.Handle());
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(TextOf(GetDlgItem(dialog, edt1)), "") << command;
    if (command == mnRepl) {
      EXPECT_EQ(TextOf(GetDlgItem(dialog, edt2)), "");
    }
    DestroyWindow(dialog);
  }
}

// Chooses in the font dialog an IPA font of 20 points in a bold style.
std::string ChooseAnotherFont(HWND box) {
  auto choose = [box](int combo, const char* prefix) {
    HWND list = GetDlgItem(box, combo);
    LRESULT index = SendMessageA(list, CB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(prefix));
    SendMessageA(list, CB_SETCURSEL, index, 0);
    SendMessageA(box, WM_COMMAND, MAKEWPARAM(combo, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
  };
  choose(cmb1, "IPA");
  choose(cmb3, "20");
  SendMessageA(GetDlgItem(box, cmb2), CB_SETCURSEL, 2, 0);  // a bold style
  return TextOf(GetDlgItem(box, cmb1));
}

TEST_F(DialogsTest, TheFontDialogStartsFromTheEditorsFontAndSetsColourSizeAndFaceOnlyAndOnlyOnOk) {
  const std::string face = window_.reEdit.FaceName();
  const int size = window_.reEdit.PointSize();
  std::string shown, chosen;
  const auto choose = [&](HWND box) {
    shown = TextOf(GetDlgItem(box, cmb1)) + " " + TextOf(GetDlgItem(box, cmb3));
    chosen = ChooseAnotherFont(box);
  };
  {
    Answerer answers({Answerer::Reply(IDCANCEL, choose)});
    Choose(mnSelFont);
    ASSERT_EQ(answers.seen.size(), 1u);
    EXPECT_EQ(shown, "ＭＳ ゴシック 13");  // the face and the size in points
    ASSERT_FALSE(chosen.empty());
    ASSERT_NE(chosen, face);
    EXPECT_EQ(window_.reEdit.FaceName(), face);
    EXPECT_EQ(window_.reEdit.PointSize(), size);
  }
  Answerer answers({Answerer::Reply(IDOK, choose)});
  Choose(mnSelFont);
  EXPECT_EQ(window_.reEdit.PointSize(), 20);
  EXPECT_EQ(window_.reEdit.FaceName(), chosen);
  // The colour comes back as the RGB value the dialog chose.
  EXPECT_EQ(window_.reEdit.FontColor(), static_cast<ColorValue>(GetSysColor(COLOR_WINDOWTEXT)));
  const CHARFORMAT2A format = CharFormatOf(window_.reEdit.Handle());
  EXPECT_EQ(format.yHeight, 400);
  EXPECT_EQ(format.bCharSet, SHIFTJIS_CHARSET);
  EXPECT_FALSE(format.dwEffects & (CFE_BOLD | CFE_ITALIC));
}

// Where the window's documents are kept, as the registry names it.
std::string DocumentsFolder() {
  char folder[MAX_PATH] = "";
  DWORD size = sizeof folder;
  RegGetValueA(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", "Personal",
               RRF_RT_REG_SZ, nullptr, folder, &size);
  return folder;
}

TEST_F(DialogsTest, TheFileDialogsStartInTheDocumentsFolderAfterAResetAndBesideTheDocumentAfterSaveAs) {
  const std::string documents = DocumentsFolder();
  ASSERT_NE(GetFileAttributesA(documents.c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u) << documents;
  TempDir opened, saved;
  const std::string first = opened.File("first.txt");
  const std::string second = saved.File("second.txt");
  WriteBytes(first, "first");
  constexpr char kOpenTitle[] = "Vessaro - ファイルを開く";
  constexpr char kSaveTitle[] = "Vessaro - ファイルの保存";
  // Shows the open dialog, then Save As, each cancelled; what they showed.
  auto dialogs = [&] {
    Answerer answers;
    Choose(mnLoad);
    Choose(mnWrite);
    return answers.seen;
  };
  // Both dialogs, with their titles, in that folder, proposing that name.
  auto expect = [&](const std::string& folder, const std::string& name) {
    const std::vector<Answerer::Seen> seen = dialogs();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].caption, kOpenTitle);
    EXPECT_EQ(seen[1].caption, kSaveTitle);
    for (const Answerer::Seen& dialog : seen) {
      EXPECT_EQ(dialog.folder, folder) << dialog.caption;
      EXPECT_TRUE(name.empty() ? dialog.name.empty() : dialog.name.find(name) != std::string::npos) << dialog.name;
    }
  };
  {
    SCOPED_TRACE("at the start");
    expect(documents, "");
  }
  {
    SCOPED_TRACE("after an open");
    Drop({first});
    EXPECT_EQ(Caption(), "Vessaro - " + first);
    EXPECT_EQ(window_.DocumentStartFolder(), opened.path());
    expect(opened.path(), "first.txt");
  }
  {
    SCOPED_TRACE("after Save As, whatever the document's state");
    Answerer answers({Answerer::Name(second), IDYES});  // and yes, create it if asked
    Choose(mnWrite);
    ASSERT_FALSE(answers.seen.empty());
    EXPECT_EQ(answers.seen[0].caption, kSaveTitle);
    EXPECT_EQ(ReadBytes(second), "first");
    EXPECT_EQ(Caption(), "Quolvi - " + second);
    EXPECT_EQ(window_.DocumentFileName(), second);
    EXPECT_EQ(window_.DocumentStartFolder(), saved.path());
    expect(saved.path(), "second.txt");
    EXPECT_EQ(Caption(), "Quolvi - " + second);  // cancelled: nothing changed
    EXPECT_EQ(window_.DocumentFileName(), second);
  }
  {
    SCOPED_TRACE("after New");
    Choose(mnNew);
    EXPECT_EQ(Caption(), "Quolvi");
    expect(documents, "");
  }
}

TEST_F(DialogsTest, AskUserAppendsTwoIdeographicSpacesAndUsesTheProgramsCaption) {
  SetWindowTextA(window_.Handle(), "a.txt - Quolvi");
  Answerer answers({IDCANCEL, IDCANCEL});
  int result = window_.AskUser("保存しますか？", MB_OKCANCEL | MB_ICONEXCLAMATION);
  EXPECT_EQ(result, IDCANCEL);
  ASSERT_EQ(answers.seen.size(), 1u);
  EXPECT_EQ(answers.seen[0].text, "保存しますか？\x81\x40\x81\x40");
  EXPECT_EQ(answers.seen[0].caption, "Quolvi");
  EXPECT_EQ(answers.seen[0].owner, window_.Handle());

  window_.AskUser("", MB_OKCANCEL);
  ASSERT_EQ(answers.seen.size(), 2u);
  EXPECT_EQ(answers.seen[1].text, "　　");
}

}  // namespace
}  // namespace quolvi::test
