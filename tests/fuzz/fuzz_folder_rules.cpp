// The folder of a path and the start folder, against a plain reference of
// the same rules, on any bytes (the second byte of a double-byte character
// is never a backslash).
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/folder_rules.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

using quolvi::fuzz::Characters;

std::string Join(const std::vector<std::string>& cs, std::size_t count) {
  std::string s;
  for (std::size_t i = 0; i < count; ++i) s += cs[i];
  return s;
}

// Up to the last backslash or colon; the backslash goes unless it is the
// first character or follows a colon or a backslash.
std::string RefFolderOf(const std::string& path) {
  std::vector<std::string> cs = Characters(path);
  std::size_t last = cs.size();
  for (std::size_t i = 0; i < cs.size(); ++i) {
    if (cs[i] == "\\" || cs[i] == ":") last = i;
  }
  if (last == cs.size()) return "";
  bool keep = cs[last] == ":" || last == 0 || cs[last - 1] == ":" || cs[last - 1] == "\\";
  return Join(cs, keep ? last + 1 : last);
}

// One final backslash goes from a folder of two bytes or more, unless a
// colon is the character before it.
std::string RefStartFolder(const std::string& folder) {
  if (folder.size() < 2) return folder;
  std::vector<std::string> cs = Characters(folder);
  if (cs.back() == "\\" && !(cs.size() >= 2 && cs[cs.size() - 2] == ":")) return Join(cs, cs.size() - 1);
  return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string path(reinterpret_cast<const char*>(data), size);
  quolvi::fuzz::Check(quolvi::FolderOf(path) == RefFolderOf(path), "FolderOf differs");
  quolvi::fuzz::Check(quolvi::StartFolder(path) == RefStartFolder(path), "StartFolder differs");
  return 0;
}
