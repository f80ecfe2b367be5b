// What a recovery file holds: the unsaved text of a document, exactly the
// bytes a save would write, with the path of the document's file (none for
// an untitled one), so that the text can be offered back after the program
// ended without saving it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quolvi {

struct RecoveryRecord {
  std::string path;  // Shift-JIS; empty for an untitled document
  std::string text;
};

// The file's bytes: a first line that says what the file is, a line with
// the path, a line with the text's length in bytes, then the text itself.
std::string RecoveryFileBytes(std::string_view path, std::string_view text);

// The record in a file's bytes; nothing when they are not such a record in
// full (another file, or one cut short).
std::optional<RecoveryRecord> ReadRecoveryFile(std::string_view bytes);

}  // namespace quolvi
