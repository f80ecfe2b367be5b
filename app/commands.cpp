#include "app/commands.h"

namespace quolvi {

#define QUOLVI_COMMAND_ROW(name, menu, caption, shortcut, enabling, whileLoading) \
  {name, menu, caption, shortcut, enabling, whileLoading},
#define QUOLVI_SEPARATOR_ROW(name, menu) {kFirstCommandId, menu, nullptr, 0, kAlways, kRuns},
const Command kCommands[kCommandCount] = {QUOLVI_COMMANDS(QUOLVI_COMMAND_ROW, QUOLVI_SEPARATOR_ROW)};
#undef QUOLVI_COMMAND_ROW
#undef QUOLVI_SEPARATOR_ROW

namespace {

// The captions of the main menu's drop-downs, by position.
constexpr const char* kTopCaptions[] = {"ﾌｧｲﾙ(&F)", "編集(&E)", "検索(&S)", "ｵﾌﾟｼｮﾝ(&O)"};

HMENU Build(HMENU menu, Menu which) {
  for (const Command& command : kCommands) {
    if (command.menu != which) continue;
    if (!command.caption) {
      AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    } else {
      AppendMenuA(menu, MF_STRING, command.id, command.caption);
    }
  }
  return menu;
}

}  // namespace

const Command* FindCommand(UINT id) {
  for (const Command& command : kCommands) {
    if (command.caption && command.id == id) return &command;
  }
  return nullptr;
}

const Command* FindShortcut(unsigned shortcut) {
  for (const Command& command : kCommands) {
    if (command.shortcut != 0 && command.shortcut == shortcut && command.menu != PopupMenu1) return &command;
  }
  return nullptr;
}

bool IsShortcutKey(WPARAM key) {
  for (const Command& command : kCommands) {
    if (command.shortcut != 0 && command.menu != PopupMenu1 && (command.shortcut & 0xFF) == (key & 0xFF)) return true;
  }
  return false;
}

unsigned ShortcutOfKey(WPARAM key) {
  // The state of the keys as of the key press, asked for once.
  BYTE keys[256];
  if (!GetKeyboardState(keys)) return 0;
  unsigned shortcut = static_cast<unsigned>(key) & 0xFF;
  if (keys[VK_SHIFT] & 0x80) shortcut |= kShift;
  if (keys[VK_CONTROL] & 0x80) shortcut |= kCtrl;
  if (keys[VK_MENU] & 0x80) shortcut |= kAlt;
  return shortcut;
}

MenuHandle CreateMainMenu1() {
  MenuHandle bar(CreateMenu());
  for (int top = File1; top <= Option1; ++top) {
    // The menu bar owns its drop-downs once they are appended.
    HMENU dropDown = Build(CreatePopupMenu(), static_cast<Menu>(top));
    AppendMenuA(bar.Get(), MF_POPUP, reinterpret_cast<UINT_PTR>(dropDown), kTopCaptions[top]);
  }
  return bar;
}

MenuHandle CreatePopupMenu1() { return MenuHandle(Build(CreatePopupMenu(), PopupMenu1)); }

}  // namespace quolvi
