// The program's texts. Narrow strings are compiled to Shift-JIS, the code
// page the program runs in.
#pragma once

#include <string>
#include <string_view>

#include "core/file_error.h"

namespace quolvi::messages {

inline constexpr char kAppTitle[] = "Quolvi";

inline constexpr char kCannotOpenFile[] = "ﾌｧｲﾙ %s は開けません";
inline constexpr char kFileHasNul[] = "ﾌｧｲﾙ %s はNUL文字を含むため開けません";
inline constexpr char kCannotCreateFile[] = "ﾌｧｲﾙ %s を作成できません";
inline constexpr char kStreamWriteFailed[] = "ｽﾄﾘｰﾑへの書き込みに失敗しました";

inline constexpr char kDiscardForNew[] = "編集中の内容を破棄して新規作成します";
inline constexpr char kDiscardForOpen[] = "編集中の内容を破棄してファイルを開きます";
inline constexpr char kDiscardForClose[] = "編集中の内容を破棄して終了します";

inline constexpr char kOpenedCaption[] = "Vessaro - ";
inline constexpr char kSavedAsCaption[] = "Quolvi - ";
inline constexpr char kOpenDialogTitle[] = "Vessaro - ファイルを開く";
inline constexpr char kSaveDialogTitle[] = "Vessaro - ファイルの保存";
// The file dialogs' filter: descriptions and patterns, NUL-separated.
inline constexpr char kFileFilter[] = "ﾃｷｽﾄﾌｧｲﾙ(*.txt)\0*.txt\0全てのﾌｧｲﾙ(*.*)\0*.*\0";
inline constexpr char kDefaultExtension[] = "txt";

inline constexpr char kAskSave[] = "保存しますか？";
inline constexpr char kCannotReadAttributes[] = "ファイル属性を調べられません";
inline constexpr char kSpecialAttributes[] = "特殊な属性が付いたファイルですが上書きしますか";
inline constexpr char kCannotClearAttributes[] = "ファイル属性の解除に失敗しました";
inline constexpr char kCannotRestoreAttributes[] = "保存後のファイル属性復元に失敗しました";

inline constexpr char kSearchTextNotFound[] = "検索文字が見つかりません";
inline constexpr char kReplacedCount[] = "%d 語を置換しました。";

inline constexpr char kCannotWriteSettings[] = "%s に書き込めません";
inline constexpr char kLaunchFailed[] = "実行に失敗しました(%d)";

// format with its "%s" replaced by path.
inline std::string WithPath(std::string_view format, std::string_view path) {
  // '%' is below 0x40, so it is never the second byte of a double-byte character.
  std::string out(format);
  std::size_t at = out.find("%s");
  if (at != std::string::npos) out.replace(at, 2, path);
  return out;
}

// What the user is told when a document file cannot be used.
inline std::string TextOf(const FileError& error) {
  switch (error.step()) {
    case FileError::Step::kOpen:
    case FileError::Step::kRead: return WithPath(kCannotOpenFile, error.path());
    case FileError::Step::kNul: return WithPath(kFileHasNul, error.path());
    case FileError::Step::kCreate: return WithPath(kCannotCreateFile, error.path());
    case FileError::Step::kWrite: return kStreamWriteFailed;
  }
  return error.what();
}

}  // namespace quolvi::messages
