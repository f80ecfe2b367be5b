#include "win32/file_names.h"

#include <windows.h>

namespace quolvi {
namespace {

// Calls get(buffer, size), which returns the length without the NUL when the
// buffer was large enough and the size it needs otherwise (0 on failure),
// with room enough.
template <class Get>
std::wstring GrowingCall(Get get) {
  std::wstring text(MAX_PATH, L'\0');
  for (;;) {
    DWORD length = get(text.data(), static_cast<DWORD>(text.size()));
    if (length == 0) return L"";
    if (length < text.size()) {
      text.resize(length);
      return text;
    }
    text.resize(length);
  }
}

std::string Narrow(std::wstring_view name, DWORD flags, const char* replacement, BOOL* replaced) {
  if (name.empty()) return "";
  const int count = static_cast<int>(name.size());
  int bytes = WideCharToMultiByte(CP_ACP, flags, name.data(), count, nullptr, 0, replacement, replaced);
  std::string out(static_cast<std::size_t>(bytes), '\0');
  WideCharToMultiByte(CP_ACP, flags, name.data(), count, out.data(), bytes, replacement, replaced);
  return out;
}

}  // namespace

std::wstring WideName(std::string_view name) {
  if (name.empty()) return L"";
  const int count = static_cast<int>(name.size());
  int units = MultiByteToWideChar(CP_ACP, 0, name.data(), count, nullptr, 0);
  std::wstring out(static_cast<std::size_t>(units), L'\0');
  MultiByteToWideChar(CP_ACP, 0, name.data(), count, out.data(), units);
  return out;
}

std::optional<std::string> ExactNarrowName(std::wstring_view name) {
  BOOL replaced = FALSE;
  std::string narrow = Narrow(name, WC_NO_BEST_FIT_CHARS, nullptr, &replaced);
  // Converted back, it must give every character as it was.
  if (replaced || WideName(narrow) != name) return std::nullopt;
  return narrow;
}

std::optional<std::string> NarrowPath(const std::wstring& path) {
  if (std::optional<std::string> exact = ExactNarrowName(path)) return exact;
  auto shortName = [](const std::wstring& name) {
    return GrowingCall([&](wchar_t* buffer, DWORD size) { return GetShortPathNameW(name.c_str(), buffer, size); });
  };
  std::wstring whole = shortName(path);
  if (!whole.empty()) return ExactNarrowName(whole);
  // A file still to be made, in a folder that exists.
  std::size_t slash = path.find_last_of(L"\\/");
  if (slash == std::wstring::npos) return std::nullopt;
  std::optional<std::string> name = ExactNarrowName(std::wstring_view(path).substr(slash + 1));
  std::wstring folder = shortName(path.substr(0, slash + 1));
  if (folder.empty()) return std::nullopt;
  if (folder.back() != L'\\') folder += L'\\';
  std::optional<std::string> narrowFolder = ExactNarrowName(folder);
  if (!name || !narrowFolder) return std::nullopt;
  return *narrowFolder + *name;
}

std::string ShownName(std::wstring_view name) { return Narrow(name, WC_NO_BEST_FIT_CHARS, "?", nullptr); }

std::wstring FolderOfName(const std::wstring& name) {
  std::size_t slash = name.find_last_of(L'\\');
  return slash == std::wstring::npos ? L"" : name.substr(0, slash + 1);
}

std::wstring FullPathName(const std::wstring& name) {
  std::wstring full =
      GrowingCall([&](wchar_t* buffer, DWORD size) { return GetFullPathNameW(name.c_str(), size, buffer, nullptr); });
  return full.empty() ? name : full;
}

}  // namespace quolvi
