// The main of the main window's tests. A dropped file beyond the first is
// opened in a further instance of the program, started with the program's
// own path; in these tests that program is this one. Started so, with an
// argument that is no test option, it only records its first argument in
// the file QUOLVI_INSTANCE_LOG names and ends.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "tests/support/temp_dir.h"
#include "win32/handles.h"

namespace {

// Whether this run is such a further instance; it then never runs the tests
// (which would start further instances again).
bool RunAsFurtherInstance(int argc, char** argv) {
  if (argc < 2 || std::strncmp(argv[1], "--", 2) == 0) return false;
  const char* log = std::getenv("QUOLVI_INSTANCE_LOG");
  if (!log) return true;
  quolvi::FileHandle file(CreateFileA(log, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
  std::string line = std::string(argv[1]) + "\n";
  DWORD written = 0;
  WriteFile(file.Get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (RunAsFurtherInstance(argc, argv)) return 0;
  // The windows keep their recovery files in a folder of this run, never
  // in the user's.
  quolvi::test::TempDir localAppData;
  SetEnvironmentVariableA("LOCALAPPDATA", localAppData.path().c_str());
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
