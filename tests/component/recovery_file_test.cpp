// Recovery files of programs that run side by side, in a folder whose name
// code page 932 cannot write.
#include "win32/recovery_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/temp_dir.h"
#include "win32/handles.h"

namespace quolvi::test {
namespace {

std::vector<std::wstring> FilesIn(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found;
  FindHandle search(FindFirstFileW((folder + L"\\*").c_str(), &found));
  do {
    if (search && !(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
  } while (search && FindNextFileW(search.Get(), &found));
  std::sort(names.begin(), names.end());
  return names;
}

void Put(const std::wstring& path, const std::string& bytes) {
  FileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  DWORD written = 0;
  WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

TEST(RecoveryFileTest, ARunningProgramsFileIsNeverTakenAnOrphanOnlyOnceAndNothingOutlivesTheLastProgram) {
  TempDir dir;
  const std::wstring folder = std::wstring(dir.path().begin(), dir.path().end()) + L"\\\uAC00";
  {
    std::optional<RecoveryFile> first(std::in_place, folder);
    RecoveryFile second(folder);
    ASSERT_TRUE(first->usable());
    ASSERT_TRUE(second.usable());
    first->Keep([] { return "old"; });
    first->Keep([] { return "text"; });  // what is asked later wins
    EXPECT_FALSE(second.ClaimOrphan());  // the first runs: its file is its own
    first.reset();                       // ended without a word: its file is left
    EXPECT_EQ(second.ClaimOrphan(), "text");
    RecoveryFile third(folder);
    EXPECT_FALSE(third.ClaimOrphan());  // taken already
    second.Remove();
    // Left by a program the system went down under: its lock file, its
    // recovery file, and a recovery file it was still writing.
    Put(folder + L"\\stale.lock", "");
    Put(folder + L"\\stale.recovery", "stale");
    Put(folder + L"\\stale.tmp", "half");
    EXPECT_EQ(third.ClaimOrphan(), "stale");
    third.Remove();
    const std::vector<std::wstring> left = FilesIn(folder);
    ASSERT_EQ(left.size(), 2u);  // the lock files of the two that run
    EXPECT_EQ(left[0].substr(left[0].size() - 5), L".lock");
  }
  EXPECT_TRUE(FilesIn(folder).empty());
}

}  // namespace
}  // namespace quolvi::test
