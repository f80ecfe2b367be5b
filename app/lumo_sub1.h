// The main window, of the window class TFLumoSub1: the editor above a status
// bar, the menus, the common dialogs and the handlers of every command. Its
// parts keep the names of the window's form:
//
//   TFLumoSub1        the main window's class; FLumoSub1, its one instance, is WinMain's mainWindow
//   reEdit            the editor, which holds the document
//   StatusBar1        the status bar (app/status_bar.h)
//   cbTouched         the hidden check box whose checked state is the modified flag
//   MainMenu1         the menu bar; File1, Edit1, Find1, Option1 its drop-downs
//   PopupMenu1        the editor's context menu
//   mn…, pm…, N1…N8   the items of the two menus and their separators (app/command_list.h)
//   OpenDialog1       the Open dialog; SaveDialog1 the Save As dialog (app/document_path.h)
//   FontDialog1       the font dialog; ColorDialog1 the background colour dialog
//   FindDialog1       the find dialog; ReplaceDialog1 the replace dialog (app/search_dialogs.h)
//   FindPattern       the text searched for; ReplacePattern the replacement; FindOptions their options
//   IniFileName       the settings file's path
//   Position          where the window first shows: centred on the screen, or where the settings put it
//   FormCreate        the window's creation; FormShow its first showing; FormCloseQuery the question at closing
//   WMDropFiles       files dropped on the window
//   reEditChange      a change of the text
//   …Click, …Popup    a menu item chosen; a menu about to open
//   AskUser           the window's one message box
//   ResetDocument     the document made empty and untitled
//   WriteDocument     the document written to its file
//
// Members: private ones end in "_", and keep the form's spelling where the
// form names them (StatusBar1_, IniFileName_), lower camel case otherwise
// (formFont_); reEdit, the one public member, keeps its name as it is.
#pragma once

#include <windows.h>
#include <commdlg.h>

#include <string>
#include <string_view>

#include "app/commands.h"
#include "app/document_path.h"
#include "app/recovery_keeper.h"
#include "app/search_dialogs.h"
#include "app/status_bar.h"
#include "core/date_time_format.h"
#include "core/matcher.h"
#include "win32/application_window.h"
#include "win32/base_window.h"
#include "win32/handles.h"
#include "win32/profile.h"
#include "win32/rich_editor.h"

namespace quolvi {

class TFLumoSub1 : public BaseWindow<TFLumoSub1> {
 public:
  static constexpr char kClassName[] = "TFLumoSub1";
  static constexpr int kWidth = 491;
  static constexpr int kHeight = 391;

  TFLumoSub1() = default;
  TFLumoSub1(const TFLumoSub1&) = delete;
  TFLumoSub1& operator=(const TFLumoSub1&) = delete;
  ~TFLumoSub1();

  // Registers the window class and creates the window (FormCreate runs),
  // owned by the application window when there is one.
  bool Create(HINSTANCE instance, ApplicationWindow* application = nullptr);
  // Shows the window the first time (FormShow runs, then the centring).
  void Show(int showCommand);
  HMENU MainMenu1() const { return MainMenu1_; }
  HMENU PopupMenu1() const { return PopupMenu1_.Get(); }

  // Makes the settings file's next writing fail as the faults say (for tests).
  void SetSettingsFaultsForTesting(const ProfileFaults& faults) { settingsFaults_ = faults; }

  // Carries out a main-menu shortcut if msg is a key press that is one.
  bool HandleShortcut(const MSG& msg);

  // Passes a message to the find or replace dialog when it is theirs.
  bool HandleDialogMessage(MSG& msg) { return searchDialogs_.HandleDialogMessage(msg); }

  // The document's state: an empty untitled document after ResetDocument;
  // the modified flag is the checked state of cbTouched.
  void ResetDocument();
  bool Modified() const;
  const std::string& DocumentFileName() const { return documentPath_.FileName(); }
  const std::string& DocumentStartFolder() const { return documentPath_.FolderToStartIn(); }

  // The main window's one message box: caption "Quolvi", the text followed
  // by two ideographic spaces; returns MessageBox's result.
  int AskUser(std::string_view text, UINT flags);

  // The handlers of the menu items, one for every row of the command table.
#define QUOLVI_DECLARE_HANDLER(name, menu, caption, shortcut, enabling, whileLoading) void name##Click();
  QUOLVI_COMMANDS(QUOLVI_DECLARE_HANDLER, QUOLVI_NO_SEPARATOR)
#undef QUOLVI_DECLARE_HANDLER

  RichEditor reEdit;

 private:
  enum class Placement { kScreenCenter, kDesigned };

  friend class BaseWindow<TFLumoSub1>;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  // Runs a handler; an error that escapes it is reported, and ends only it.
  // Returns whether the handler ran to its end.
  template <class Handler>
  bool Run(Handler handler);

 public:
  // Reports an error that ended a handler or the handling of a message (of
  // the main window, of the editor, or at start-up); the program goes on.
  void OnEscapedError(std::exception_ptr error);

 private:
  void CreateComponents();
  void Layout();
  void Dispatch(UINT id);
  bool WaitsForLoad(const Command& command);
  void SetItemEnabled(UINT id, bool enabled);
  void Close();

  // Events of the window.
  void FormCreate();
  void FormShow();
  bool FormCloseQuery();

  // The settings file: read at creation, written at an allowed close.
  void ReadSettings();
  void WriteSettings();

  // Enabling: the click handler of a top-level item of the main menu and
  // the context menu's popup handler apply the rules of their menu's items.
  void TopMenuClick(Menu menu) { ApplyEnabling(menu); }
  void PopupMenu1Popup() { ApplyEnabling(Menu::PopupMenu1); }
  void ApplyEnabling(Menu menu);
  bool RuleHolds(Enabling rule);
  void ShowPopupMenu1(int x, int y);

  // The document's state.
  void reEditChange();
  void SetModified(bool modified);
  // The discard question, asked only of a modified document; true to go on.
  bool ConfirmDiscard(const char* text);

  // Opening and saving.
  // Loads a file that was chosen, and once its last piece is in, takes the
  // steps after a load: path names the file, shown is how the caption names
  // it.
  void AfterLoad(const std::string& path, const std::string& shown);
  void OpenFromCommandLine();
  void WMDropFiles(HDROP drop);
  void WriteDocument();
  // Asked before a save writes a text that holds characters the file cannot
  // hold; true to write them as "?".
  bool ConfirmUnwritableCharacters();

  // Recovery after a crash: a file left by a program that ended without
  // saving or discarding its text is offered back once the window shows.
  static constexpr UINT kOfferRecoveryMessage = WM_APP + 1;
  void OfferRecovery();
  void Restore(const std::string& path, const std::string& text);

  // The events of the find and replace dialogs.
  void OnFindReplace(FINDREPLACEA* request);
  void FindStep(const SearchFields& fields);
  void FindDialog1Find();
  void ReplaceDialog1Find();
  void ReplaceDialog1Replace();

  // The fonts outlive the window and its controls, which use them: the
  // destructor destroys the window first.
  FontHandle formFont_;
  StatusBar StatusBar1_;
  HWND cbTouched_ = nullptr;
  HMENU MainMenu1_ = nullptr;  // owned by the window
  MenuHandle PopupMenu1_;
  Placement Position_ = Placement::kScreenCenter;
  ApplicationWindow* application_ = nullptr;
  DateTimeLocale locale_;

  DocumentPath documentPath_;  // OpenDialog1 and SaveDialog1
  SearchDialogs searchDialogs_;
  std::string IniFileName_;
  ProfileFaults settingsFaults_;
  RecoveryKeeper recovery_;

  // FontDialog1 and ColorDialog1 keep what was last chosen in them.
  LOGFONTA fontDialogFont_{};
  ColorValue fontDialogColor_ = kClWindowText;
  COLORREF customColors_[16]{};
};

}  // namespace quolvi
