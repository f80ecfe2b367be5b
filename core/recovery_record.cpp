#include "core/recovery_record.h"

#include <charconv>

namespace quolvi {
namespace {

constexpr std::string_view kFirstLine = "Quolvi recovery 1\r\n";
constexpr std::string_view kPathKey = "path=";
constexpr std::string_view kLengthKey = "length=";

// Takes the line that begins bytes, up to its CR LF, off bytes; nothing
// when there is no such line or it does not start with key.
std::optional<std::string_view> TakeLine(std::string_view& bytes, std::string_view key) {
  std::size_t end = bytes.find("\r\n");
  if (end == std::string_view::npos || bytes.compare(0, key.size(), key) != 0) return std::nullopt;
  std::string_view value = bytes.substr(key.size(), end - key.size());
  bytes.remove_prefix(end + 2);
  return value;
}

}  // namespace

std::string RecoveryFileBytes(std::string_view path, std::string_view text) {
  std::string bytes(kFirstLine);
  bytes.append(kPathKey).append(path).append("\r\n");
  bytes.append(kLengthKey).append(std::to_string(text.size())).append("\r\n");
  bytes.reserve(bytes.size() + text.size());
  return bytes.append(text);
}

std::optional<RecoveryRecord> ReadRecoveryFile(std::string_view bytes) {
  if (bytes.substr(0, kFirstLine.size()) != kFirstLine) return std::nullopt;
  bytes.remove_prefix(kFirstLine.size());
  // A path holds neither CR nor LF, so its line ends at the first CR LF.
  std::optional<std::string_view> path = TakeLine(bytes, kPathKey);
  std::optional<std::string_view> length = path ? TakeLine(bytes, kLengthKey) : std::nullopt;
  if (!length) return std::nullopt;
  std::size_t size = 0;
  auto [end, error] = std::from_chars(length->data(), length->data() + length->size(), size);
  if (error != std::errc() || end != length->data() + length->size() || size != bytes.size()) {
    return std::nullopt;
  }
  return RecoveryRecord{std::string(*path), std::string(bytes)};
}

}  // namespace quolvi
