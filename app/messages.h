// The program's texts. Narrow strings are compiled to Shift-JIS, the code
// page the program runs in.
#pragma once

#include <cstdio>
#include <initializer_list>
#include <string>
#include <string_view>

#include <exception>
#include <new>
#include <stdexcept>

#include "app/app_error.h"
#include "core/editor.h"
#include "core/file_error.h"

namespace quolvi::messages {

inline constexpr char kAppTitle[] = "Quolvi";

inline constexpr char kCannotOpenFile[] = "ﾌｧｲﾙ %s は開けません";
inline constexpr char kFileHasNul[] = "ﾌｧｲﾙ %s はNUL文字を含むため開けません";
inline constexpr char kCannotCreateFile[] = "ﾌｧｲﾙ %s を作成できません";
inline constexpr char kStreamWriteFailed[] = "ｽﾄﾘｰﾑへの書き込みに失敗しました";
// The file's path, then the largest size that opens (see SizeText).
inline constexpr char kFileTooLarge[] = "ﾌｧｲﾙ %s は大きすぎるため開けません（上限 %s）";
// A file's name that Shift-JIS cannot hold, each character it lacks as "?".
inline constexpr char kNameOutsideCodePage[] = "ﾌｧｲﾙ名 %s はShift-JISで表せない文字を含むため使えません";

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
// How many characters the file cannot hold, then the line and the code
// point (as "U+20BB7") of the first.
inline constexpr char kUnwritableCharacters[] =
    "Shift-JIS で保存できない文字 %s 個を「?」などに置き換えて保存します（最初は %s 行目の %s）";

// Reported when a command or a message could not be carried out to its end.
inline constexpr char kOutOfMemory[] = "メモリが不足したため処理を中止しました";
inline constexpr char kUnexpectedError[] = "予期しないエラーのため処理を中止しました";
inline constexpr char kUnexpectedErrorWith[] = "予期しないエラーのため処理を中止しました（%s）";
// The editor's control could not be made or could not take the text.
inline constexpr char kEditorUnavailable[] = "編集領域を用意できないため処理を中止しました";
// The largest size the document may have (see SizeText).
inline constexpr char kDocumentTooLarge[] = "文書が上限の %s を超えるため処理を中止しました";

// Offered at start-up: the path of the document, or kUntitled.
inline constexpr char kOfferRecovery[] = "保存されないまま終了した %s の内容を復元します（キャンセルすると破棄します）";
inline constexpr char kUntitled[] = "無題の文書";

inline constexpr char kSearchTextNotFound[] = "検索文字が見つかりません";
inline constexpr char kReplacedCount[] = "%d 語を置換しました。";
// The status bar while a long change of the whole text goes on.
inline constexpr char kLoadingProgress[] = "読み込み中 %d%%";
inline constexpr char kWorkingProgress[] = "処理中 %d%%";

inline constexpr char kCannotWriteSettings[] = "%s に書き込めません";
inline constexpr char kLaunchFailed[] = "実行に失敗しました(%d)";

// format with each "%s" in turn replaced by the next of values (the values
// themselves are not searched).
inline std::string Formatted(std::string_view format, std::initializer_list<std::string_view> values) {
  // '%' is below 0x40, so it is never the second byte of a double-byte character.
  std::string out(format);
  std::size_t from = 0;
  for (std::string_view value : values) {
    std::size_t at = out.find("%s", from);
    if (at == std::string::npos) break;
    out.replace(at, 2, value);
    from = at + value.size();
  }
  return out;
}

// format with its "%s" replaced by path.
inline std::string WithPath(std::string_view format, std::string_view path) { return Formatted(format, {path}); }

// A size in bytes as the user reads it: whole megabytes as "64 MB", any
// other size in bytes.
inline std::string SizeText(std::size_t bytes) {
  constexpr std::size_t kMegabyte = std::size_t{1} << 20;
  if (bytes >= kMegabyte && bytes % kMegabyte == 0) return std::to_string(bytes / kMegabyte) + " MB";
  return std::to_string(bytes) + " バイト";
}

// A character by its code point, as "U+20BB7": four hexadecimal digits at least.
inline std::string CodePointText(char32_t c) {
  char text[16];
  std::snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(c));
  return text;
}

// What the user is told when a document file cannot be used.
inline std::string TextOf(const FileError& error) {
  switch (error.step()) {
    case FileError::Step::kOpen:
    case FileError::Step::kRead: return WithPath(kCannotOpenFile, error.path());
    case FileError::Step::kNul: return WithPath(kFileHasNul, error.path());
    case FileError::Step::kCreate: return WithPath(kCannotCreateFile, error.path());
    case FileError::Step::kWrite: return kStreamWriteFailed;
    case FileError::Step::kTooLarge: return Formatted(kFileTooLarge, {error.path(), SizeText(error.limit())});
  }
  return error.what();
}

// What the user is told of an error that ended a command or the handling of
// a message: what is known of it.
inline std::string TextOf(std::exception_ptr error) {
  try {
    std::rethrow_exception(error);
  } catch (const FileError& e) {
    return TextOf(e);
  } catch (const AppError& e) {
    return e.what();
  } catch (const DocumentTooLarge& e) {
    return Formatted(kDocumentTooLarge, {SizeText(e.limit())});
  } catch (const EditorUnavailable&) {
    return kEditorUnavailable;
  } catch (const std::bad_alloc&) {
    return kOutOfMemory;
  } catch (const std::exception& e) {
    return e.what()[0] ? Formatted(kUnexpectedErrorWith, {e.what()}) : std::string(kUnexpectedError);
  } catch (...) {
    return kUnexpectedError;
  }
}

}  // namespace quolvi::messages
