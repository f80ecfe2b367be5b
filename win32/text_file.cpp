#include "win32/text_file.h"

#include "core/file_error.h"
#include "core/line_breaks.h"

namespace quolvi {
namespace {

constexpr DWORD kChunkSize = 1 << 16;

}  // namespace

std::string ReadTextFile(const std::string& path) {
  FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) throw FileError(FileError::Step::kOpen, path);

  std::string text;
  LARGE_INTEGER size;
  if (GetFileSizeEx(file.Get(), &size) && size.QuadPart < (1LL << 30)) {
    text.reserve(static_cast<std::size_t>(size.QuadPart + size.QuadPart / 32));
  }
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
  }
  normalizer.Finish(text);
  return text;
}

FileHandle CreateTextFile(const std::string& path) {
  FileHandle file(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) throw FileError(FileError::Step::kCreate, path);
  return file;
}

void WriteTextFile(const FileHandle& file, std::string_view bytes, const std::string& path) {
  while (!bytes.empty()) {
    DWORD count = bytes.size() < kChunkSize ? static_cast<DWORD>(bytes.size()) : kChunkSize;
    DWORD written = 0;
    if (!WriteFile(file.Get(), bytes.data(), count, &written, nullptr) || written != count) {
      throw FileError(FileError::Step::kWrite, path);
    }
    bytes.remove_prefix(count);
  }
}

}  // namespace quolvi
