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

// Files named in the code page, or in UTF-16 (any name).
void WriteBytes(const std::string& path, std::string_view bytes);
void WriteBytes(const std::wstring& path, std::string_view bytes);
std::string ReadBytes(const std::string& path);
std::string ReadBytes(const std::wstring& path);
// The file's bytes, or "" while it cannot be opened (another program may be
// writing it without sharing): for polling.
std::string ReadBytesWhenFree(const std::string& path);
std::string ReadBytesWhenFree(const std::wstring& path);
// Makes link a symbolic link to target (a full path, or a name in the
// link's folder): by the system's call, else by the Unix ln that Wine runs
// for a Windows program (Wine's call makes nothing). False when neither can.
bool MakeSymbolicLink(const std::string& link, const std::string& target);

// Text in the code page in UTF-16.
std::wstring Wide(std::string_view text);

}  // namespace quolvi::test
