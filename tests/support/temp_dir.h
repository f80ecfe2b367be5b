// A folder of its own for each test, removed with everything in it afterwards.
#pragma once

#include <string>
#include <string_view>

namespace quolvi::test {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return path_; }
  // The full path of a file in the folder.
  std::string File(std::string_view name) const;

 private:
  std::string path_;
};

void WriteBytes(const std::string& path, std::string_view bytes);
std::string ReadBytes(const std::string& path);
// The file's bytes, or "" while it cannot be opened (another program may be
// writing it without sharing): for polling.
std::string ReadBytesWhenFree(const std::string& path);

}  // namespace quolvi::test
