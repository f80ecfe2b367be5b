// The commands of the main menu and the context menu, made from the rows of
// command_list.h: their identifiers, the table the main window enables by,
// and the menus built from it. (The main window dispatches to its handlers
// from the same rows.)
#pragma once

#include <windows.h>

#include "app/command_list.h"
#include "win32/handles.h"

namespace quolvi {

// Command identifiers of the menu items, one per row.
#define QUOLVI_COMMAND_ID(name, menu, caption, shortcut, enabling, whileLoading) name,
#define QUOLVI_NO_SEPARATOR(name, menu)
enum CommandId : UINT { kFirstCommandId = 100, QUOLVI_COMMANDS(QUOLVI_COMMAND_ID, QUOLVI_NO_SEPARATOR) };
#undef QUOLVI_COMMAND_ID

// The menus: the four drop-downs of the main menu by position, and the
// editor's context menu.
enum Menu { File1 = 0, Edit1 = 1, Find1 = 2, Option1 = 3, PopupMenu1 = 4 };

// A key with the modifiers held: the key code plus these flags.
enum ShortcutFlag : unsigned { kShift = 0x2000, kCtrl = 0x4000, kAlt = 0x8000 };

// When an item is enabled; the rule is evaluated as its menu opens or its
// shortcut is pressed.
enum Enabling {
  kAlways,            // never disabled
  kUndoAvailable,     // the editor can undo
  kDocumentHasText,   // the document is not empty
  kClipboardHasData,  // the clipboard holds something, in any format
  kSelectionToRun,    // the selection is not empty once trimmed
};

// Whether an item may run while a file is still loading: what only reads
// the text (copy, select all, find) and quitting may; whatever changes the
// text or the document waits, its item disabled, until the last piece is in.
enum WhileLoading { kRuns, kWaits };

struct Command {
  CommandId id;  // kFirstCommandId for a separator
  Menu menu;
  const char* caption;  // nullptr for a separator
  unsigned shortcut;    // 0 for none
  Enabling enabling;
  WhileLoading whileLoading;
};

// Every row, separators included, in menu order.
#define QUOLVI_ONE_ROW(...) +1
inline constexpr int kCommandCount = 0 QUOLVI_COMMANDS(QUOLVI_ONE_ROW, QUOLVI_ONE_ROW);
#undef QUOLVI_ONE_ROW
extern const Command kCommands[kCommandCount];

// The row of an item; nullptr for an unknown identifier.
const Command* FindCommand(UINT id);
// The main-menu item whose shortcut this is; nullptr for none.
const Command* FindShortcut(unsigned shortcut);

// Whether the key is that of some main-menu shortcut, whatever modifiers
// are held; most keys are none, and are told so without asking the system
// for the modifiers.
bool IsShortcutKey(WPARAM key);
// The shortcut of a key press, with the modifiers as held now.
unsigned ShortcutOfKey(WPARAM key);

// Builds MainMenu1 and PopupMenu1 from the table; the caller owns them.
MenuHandle CreateMainMenu1();
MenuHandle CreatePopupMenu1();

}  // namespace quolvi
