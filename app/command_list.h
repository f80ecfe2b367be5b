// Every command of the main menu and of the editor's context menu, one row
// each in menu order: the item's name, the menu it is in, its caption (with
// its access key and the text of its shortcut), its shortcut key, the rule
// that enables it, and whether it may run while a file is still loading. A
// separator is a row of its own.
//
// The item's handler is the main window's method named after it with
// "Click" appended (mnNew: mnNewClick); the main window declares one for
// every row. A command is added by adding its row and writing its handler.
//
// The items' names, as the window's form has them:
//   mnNew        File, New
//   mnLoad       File, Open
//   mnSave       File, Save
//   mnWrite      File, Save As
//   mnQuit       File, Exit
//   mnUndo       Edit, Undo
//   mnCut        Edit, Cut (and mnCopy, mnPaste, mnDelete: Copy, Paste, Delete)
//   mnSelAll     Edit, Select All
//   mnDT         Edit, Date and Time
//   mnWordWrap   Edit, Word Wrap
//   mnSelFont    Edit, Font
//   mnSelBG      Edit, Background Colour
//   mnSrch       Search, Find
//   mnSrchNxt    Search, Find Next
//   mnRepl       Search, Replace
//   mnFExec      Options, Run: the shell's Run dialog
//   mnGo         Options, Run the Selection: the selected text through the shell
//   pm…          the context menu's items, each doing what its mn… twin does
//   N1…N8        separators
#pragma once

// clang-format off
#define QUOLVI_COMMANDS(COMMAND, SEPARATOR)                                                                 \
  COMMAND(mnNew,      File1,      "新規作成(&N)\tCtrl+N",          kCtrl | 'N', kAlways,           kWaits)  \
  COMMAND(mnLoad,     File1,      "開く(&O)...\tCtrl+O",           kCtrl | 'O', kAlways,           kWaits)  \
  COMMAND(mnSave,     File1,      "上書き保存(&S)\tCtrl+S",        kCtrl | 'S', kAlways,           kWaits)  \
  COMMAND(mnWrite,    File1,      "名前を付けて保存(&A)...",       0,           kAlways,           kWaits)  \
  SEPARATOR(N2,       File1)                                                                                \
  COMMAND(mnQuit,     File1,      "終了(&X)\tEsc",                 VK_ESCAPE,   kAlways,           kRuns)   \
  COMMAND(mnUndo,     Edit1,      "元に戻す(&U)\tCtrl+Z",          kCtrl | 'Z', kUndoAvailable,    kWaits)  \
  SEPARATOR(N1,       Edit1)                                                                                \
  COMMAND(mnCut,      Edit1,      "切り取り(&T)\tCtrl+X",          kCtrl | 'X', kDocumentHasText,  kWaits)  \
  COMMAND(mnCopy,     Edit1,      "ｺﾋﾟｰ(&C)\tCtrl+C",              kCtrl | 'C', kDocumentHasText,  kRuns)   \
  COMMAND(mnPaste,    Edit1,      "貼り付け(&P)\tCtrl+V",          kCtrl | 'V', kClipboardHasData, kWaits)  \
  COMMAND(mnDelete,   Edit1,      "削除(&L)",                      0,           kDocumentHasText,  kWaits)  \
  SEPARATOR(N3,       Edit1)                                                                                \
  COMMAND(mnSelAll,   Edit1,      "すべて選択(&A)\tCtrl+A",        kCtrl | 'A', kDocumentHasText,  kRuns)   \
  COMMAND(mnDT,       Edit1,      "日付と時刻(&D)\tF5",            VK_F5,       kAlways,           kWaits)  \
  SEPARATOR(N4,       Edit1)                                                                                \
  COMMAND(mnWordWrap, Edit1,      "右端で折り返す(&W)",            0,           kAlways,           kWaits)  \
  COMMAND(mnSelFont,  Edit1,      "フォントの設定(&F)...",         0,           kAlways,           kWaits)  \
  COMMAND(mnSelBG,    Edit1,      "背景色の設定(&B)...",           0,           kAlways,           kWaits)  \
  COMMAND(mnSrch,     Find1,      "検索(&F)...\tCtrl+F",           kCtrl | 'F', kAlways,           kRuns)   \
  COMMAND(mnSrchNxt,  Find1,      "次を検索(&N)\tF3",              VK_F3,       kAlways,           kRuns)   \
  COMMAND(mnRepl,     Find1,      "置換(&E)...\tCtrl+H",           kCtrl | 'H', kAlways,           kWaits)  \
  COMMAND(mnFExec,    Option1,    "ﾌｧｲﾙ名を指定して実行(&R)...",   0,           kAlways,           kWaits)  \
  SEPARATOR(N7,       Option1)                                                                              \
  COMMAND(mnGo,       Option1,    "選択範囲を実行(&G)\tCtrl+G",    kCtrl | 'G', kSelectionToRun,   kWaits)  \
  COMMAND(pmUndo,     PopupMenu1, "元に戻す(&U)",                  0,           kUndoAvailable,    kWaits)  \
  SEPARATOR(N5,       PopupMenu1)                                                                           \
  COMMAND(pmCut,      PopupMenu1, "切り取り(&T)",                  0,           kDocumentHasText,  kWaits)  \
  COMMAND(pmCopy,     PopupMenu1, "コピー(&C)",                    0,           kDocumentHasText,  kRuns)   \
  COMMAND(pmPaste,    PopupMenu1, "貼り付け(&P)",                  0,           kClipboardHasData, kWaits)  \
  COMMAND(pmDelete,   PopupMenu1, "削除(&L)",                      0,           kDocumentHasText,  kWaits)  \
  SEPARATOR(N6,       PopupMenu1)                                                                           \
  COMMAND(pmSelAll,   PopupMenu1, "すべて選択(&A)",                0,           kDocumentHasText,  kRuns)   \
  SEPARATOR(N8,       PopupMenu1)                                                                           \
  COMMAND(pmGo,       PopupMenu1, "実行(&G)",                      0,           kSelectionToRun,   kWaits)
// clang-format on
