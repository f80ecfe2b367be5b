#include "app/menus.h"

namespace quolvi {
namespace {

struct Item {
  UINT id;  // 0 for a separator
  const char* caption;
};

constexpr Item kFileItems[] = {
    {mnNew, "新規作成(&N)\tCtrl+N"},
    {mnLoad, "開く(&O)...\tCtrl+O"},
    {mnSave, "上書き保存(&S)\tCtrl+S"},
    {mnWrite, "名前を付けて保存(&A)..."},
    {0, nullptr},  // N2
    {mnQuit, "終了(&X)\tEsc"},
};
constexpr Item kEditItems[] = {
    {mnUndo, "元に戻す(&U)\tCtrl+Z"},
    {0, nullptr},  // N1
    {mnCut, "切り取り(&T)\tCtrl+X"},
    {mnCopy, "ｺﾋﾟｰ(&C)\tCtrl+C"},
    {mnPaste, "貼り付け(&P)\tCtrl+V"},
    {mnDelete, "削除(&L)"},
    {0, nullptr},  // N3
    {mnSelAll, "すべて選択(&A)\tCtrl+A"},
    {mnDT, "日付と時刻(&D)\tF5"},
    {0, nullptr},  // N4
    {mnWordWrap, "右端で折り返す(&W)"},
    {mnSelFont, "フォントの設定(&F)..."},
    {mnSelBG, "背景色の設定(&B)..."},
};
constexpr Item kFindItems[] = {
    {mnSrch, "検索(&F)...\tCtrl+F"},
    {mnSrchNxt, "次を検索(&N)\tF3"},
    {mnRepl, "置換(&E)...\tCtrl+H"},
};
constexpr Item kOptionItems[] = {
    {mnFExec, "ﾌｧｲﾙ名を指定して実行(&R)..."},
    {0, nullptr},  // N7
    {mnGo, "選択範囲を実行(&G)\tCtrl+G"},
};
constexpr Item kPopupItems[] = {
    {pmUndo, "元に戻す(&U)"},
    {0, nullptr},  // N5
    {pmCut, "切り取り(&T)"},
    {pmCopy, "コピー(&C)"},
    {pmPaste, "貼り付け(&P)"},
    {pmDelete, "削除(&L)"},
    {0, nullptr},  // N6
    {pmSelAll, "すべて選択(&A)"},
    {0, nullptr},  // N8
    {pmGo, "実行(&G)"},
};

template <std::size_t N>
HMENU Build(HMENU menu, const Item (&items)[N]) {
  for (const Item& item : items) {
    if (item.id == 0) {
      AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    } else {
      AppendMenuA(menu, MF_STRING, item.id, item.caption);
    }
  }
  return menu;
}

}  // namespace

const MenuShortcut kShortcuts[] = {
    {mnNew, File1, kCtrl | 'N'},     {mnLoad, File1, kCtrl | 'O'},   {mnSave, File1, kCtrl | 'S'},
    {mnQuit, File1, VK_ESCAPE},      {mnUndo, Edit1, kCtrl | 'Z'},   {mnCut, Edit1, kCtrl | 'X'},
    {mnCopy, Edit1, kCtrl | 'C'},    {mnPaste, Edit1, kCtrl | 'V'},  {mnSelAll, Edit1, kCtrl | 'A'},
    {mnDT, Edit1, VK_F5},            {mnSrch, Find1, kCtrl | 'F'},   {mnSrchNxt, Find1, VK_F3},
    {mnRepl, Find1, kCtrl | 'H'},    {mnGo, Option1, kCtrl | 'G'},
};
const int kShortcutCount = sizeof kShortcuts / sizeof kShortcuts[0];

unsigned ShortcutOfKey(WPARAM key) {
  unsigned shortcut = static_cast<unsigned>(key) & 0xFF;
  if (GetKeyState(VK_SHIFT) < 0) shortcut |= kShift;
  if (GetKeyState(VK_CONTROL) < 0) shortcut |= kCtrl;
  if (GetKeyState(VK_MENU) < 0) shortcut |= kAlt;
  return shortcut;
}

HMENU CreateMainMenu1() {
  HMENU menu = CreateMenu();
  AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(Build(CreatePopupMenu(), kFileItems)), "ﾌｧｲﾙ(&F)");
  AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(Build(CreatePopupMenu(), kEditItems)), "編集(&E)");
  AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(Build(CreatePopupMenu(), kFindItems)), "検索(&S)");
  AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(Build(CreatePopupMenu(), kOptionItems)), "ｵﾌﾟｼｮﾝ(&O)");
  return menu;
}

HMENU CreatePopupMenu1() { return Build(CreatePopupMenu(), kPopupItems); }

}  // namespace quolvi
