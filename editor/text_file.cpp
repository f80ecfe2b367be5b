#include "editor/text_file.h"


#include "app/app_error.h"
#include "app/messages.h"
#include "editor/line_breaks.h"

namespace quolvi {
namespace {

constexpr DWORD kChunkSize = 1 << 16;

}  // namespace

std::string ReadTextFile(const std::string& path) {
  FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) throw AppError(messages::WithPath(messages::kCannotOpenFile, path));

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
      throw AppError(messages::WithPath(messages::kCannotOpenFile, path));
    }
    if (got == 0) break;
    std::string_view piece(chunk.data(), got);
    if (piece.find('\0') != std::string_view::npos) {
      throw AppError(messages::WithPath(messages::kFileHasNul, path));
    }
    normalizer.Feed(piece, text);
  }
  normalizer.Finish(text);
  return text;
}

FileHandle CreateTextFile(const std::string& path) {
  FileHandle file(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) throw AppError(messages::WithPath(messages::kCannotCreateFile, path));
  return file;
}

void WriteTextFile(const FileHandle& file, std::string_view bytes) {
  while (!bytes.empty()) {
    DWORD count = bytes.size() < kChunkSize ? static_cast<DWORD>(bytes.size()) : kChunkSize;
    DWORD written = 0;
    if (!WriteFile(file.Get(), bytes.data(), count, &written, nullptr) || written != count) {
      throw AppError(messages::kStreamWriteFailed);
    }
    bytes.remove_prefix(count);
  }
}

}  // namespace quolvi
