#include "win32/text_file.h"

#include "core/file_error.h"
#include "core/folder_rules.h"
#include "core/line_breaks.h"
#include "win32/file_names.h"
#include "win32/new_file.h"

namespace quolvi {
namespace {

constexpr DWORD kChunkSize = 1 << 16;

// Writes bytes to the file, failing as a full disk would where faults say so.
void WriteAll(const FileHandle& file, std::string_view bytes, const std::string& path, const WriteFaults& faults) {
  std::size_t written = 0;
  while (!bytes.empty()) {
    DWORD count = bytes.size() < kChunkSize ? static_cast<DWORD>(bytes.size()) : kChunkSize;
    if (faults.failAfterBytes && written + count > *faults.failAfterBytes) {
      // The bytes up to the fault still reach the file, as they would.
      DWORD part = static_cast<DWORD>(*faults.failAfterBytes - written);
      DWORD done = 0;
      if (part > 0) WriteFile(file.Get(), bytes.data(), part, &done, nullptr);
      throw FileError(FileError::Step::kWrite, path);
    }
    DWORD done = 0;
    if (!WriteFile(file.Get(), bytes.data(), count, &done, nullptr) || done != count) {
      throw FileError(FileError::Step::kWrite, path);
    }
    written += count;
    bytes.remove_prefix(count);
  }
}

// The name under which the file is on disk, in its own spelling (the case of
// its letters, its long name, in UTF-16, which holds any name), or path
// itself when it is not there.
std::wstring NameOnDisk(const std::string& path) {
  const std::wstring wide = WideName(path);
  WIN32_FIND_DATAW found;
  FindHandle search(FindFirstFileW(wide.c_str(), &found));
  if (!search || path.find_first_of("*?") != std::string::npos) return wide;
  std::string folder = FolderOf(path);
  if (folder.empty()) return found.cFileName;
  char last = folder.back();
  return WideName(folder) + (last == '\\' || last == ':' ? L"" : L"\\") + found.cFileName;
}

// Writes bytes over the file itself: used only where no new file can be
// created beside it, since a failure half-way leaves the file cut.
void WriteInPlace(const std::wstring& name, std::string_view bytes, const std::string& path,
                  const WriteFaults& faults) {
  FileHandle file(CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) throw FileError(FileError::Step::kCreate, path);
  WriteAll(file, bytes, path, faults);
}

}  // namespace

std::string ReadTextFile(const std::string& path, std::size_t maxBytes) {
  FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  // A device (NUL, COM1 and the like answer to such names in any folder) is
  // no document, though it may be read.
  if (!file || GetFileType(file.Get()) != FILE_TYPE_DISK) throw FileError(FileError::Step::kOpen, path);

  LARGE_INTEGER size;
  if (!GetFileSizeEx(file.Get(), &size)) throw FileError(FileError::Step::kRead, path);
  if (static_cast<unsigned long long>(size.QuadPart) > maxBytes) {
    throw FileError(FileError::Step::kTooLarge, path, maxBytes);
  }
  std::string text;
  text.reserve(static_cast<std::size_t>(size.QuadPart + size.QuadPart / 32));
  LineBreakNormalizer normalizer;
  std::string chunk(kChunkSize, '\0');
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(file.Get(), chunk.data(), kChunkSize, &got, nullptr)) {
      throw FileError(FileError::Step::kRead, path);
    }
    if (got == 0) break;
    std::string_view piece(chunk.data(), got);
    if (piece.find('\0') != std::string_view::npos) {
      throw FileError(FileError::Step::kNul, path);
    }
    normalizer.Feed(piece, text);
    // Lone CRs and LFs grow into pairs; the text must fit all the same.
    if (text.size() > maxBytes) throw FileError(FileError::Step::kTooLarge, path, maxBytes);
  }
  normalizer.Finish(text);
  if (text.size() > maxBytes) throw FileError(FileError::Step::kTooLarge, path, maxBytes);
  return text;
}

void ReplaceFileContents(const std::string& path, std::string_view bytes, const WriteFaults& faults) {
  // The file itself, also where path is a symbolic link to it (which stays
  // a link), in its own spelling; a file still to be made under its name.
  const std::wstring target = FinalName(WideName(path)).value_or(NameOnDisk(path));
  std::wstring fresh;
  FileHandle file;
  if (faults.noNewFileInFolder) {
    SetLastError(ERROR_ACCESS_DENIED);  // as the folder's permissions would refuse it
  } else {
    file = CreateFileBeside(FolderOfName(target), fresh);
  }
  if (!file) {
    // A folder in which nothing new may be created, while the file itself
    // may be written: writing it in place is the only way to save at all.
    if (GetLastError() != ERROR_ACCESS_DENIED) throw FileError(FileError::Step::kCreate, path);
    WriteInPlace(target, bytes, path, faults);
    return;
  }
  ScopeExit removeFresh([&] {
    file.Reset();
    DeleteFileW(fresh.c_str());
  });
  WriteAll(file, bytes, path, faults);
  // On disk before it takes the old file's place.
  if (!FlushFileBuffers(file.Get())) throw FileError(FileError::Step::kWrite, path);
  file.Reset();
  // What the old file let whom do, the new one does too; a file that cannot
  // be given it is not put in the old one's place.
  if (!CopySecurity(target, fresh)) throw FileError(FileError::Step::kCreate, path);
  // A rename over the old file, so that the name holds either file at every
  // moment. (ReplaceFile would carry over more of the old file, such as its
  // creation time and security, but Wine's moves the old file away and
  // deletes it before the new one arrives, leaving a moment with neither.)
  if (!MoveFileExW(fresh.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    throw FileError(FileError::Step::kCreate, path);
  }
  removeFresh.Dismiss();
}

}  // namespace quolvi
