// The main menu and the editor's context menu: their items, captions,
// access keys and shortcuts.
#pragma once

#include <windows.h>

namespace quolvi {

// Command identifiers of the menu items.
enum MenuId : UINT {
  mnNew = 101,
  mnLoad,
  mnSave,
  mnWrite,
  mnQuit,
  mnUndo = 201,
  mnCut,
  mnCopy,
  mnPaste,
  mnDelete,
  mnSelAll,
  mnDT,
  mnWordWrap,
  mnSelFont,
  mnSelBG,
  mnSrch = 301,
  mnSrchNxt,
  mnRepl,
  mnFExec = 401,
  mnGo,
  pmUndo = 501,
  pmCut,
  pmCopy,
  pmPaste,
  pmDelete,
  pmSelAll,
  pmGo,
};

// The top-level items of the main menu, by position.
enum TopMenu { File1 = 0, Edit1 = 1, Find1 = 2, Option1 = 3 };

// A key with the modifiers held: the key code plus these flags.
enum ShortcutFlag : unsigned { kShift = 0x2000, kCtrl = 0x4000, kAlt = 0x8000 };

struct MenuShortcut {
  MenuId item;
  TopMenu top;
  unsigned shortcut;
};

// The main menu's items that have shortcuts.
extern const MenuShortcut kShortcuts[];
extern const int kShortcutCount;

// The shortcut of a key press, with the modifiers as held now.
unsigned ShortcutOfKey(WPARAM key);

// Builds MainMenu1 and PopupMenu1; the caller owns them.
HMENU CreateMainMenu1();
HMENU CreatePopupMenu1();

}  // namespace quolvi
