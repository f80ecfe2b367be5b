// The documents folder lookup against the registry of the test's Wine prefix.
#include "win32/documents_folder.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <optional>

#include "tests/support/temp_dir.h"
#include "win32/handles.h"

namespace quolvi::test {
namespace {

constexpr char kShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr char kUserShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

// Sets the value "Personal" of a key for the length of a test, and puts the
// old value back afterwards.
class PersonalValue {
 public:
  explicit PersonalValue(const char* key) : key_(key) {
    HKEY opened = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &opened, nullptr);
    handle_.Reset(opened);
    DWORD size = 0;
    if (RegQueryValueExA(handle_.Get(), "Personal", nullptr, &type_, nullptr, &size) == ERROR_SUCCESS) {
      std::string data(size, '\0');
      RegQueryValueExA(handle_.Get(), "Personal", nullptr, &type_, reinterpret_cast<BYTE*>(data.data()), &size);
      old_ = data;
    }
  }
  ~PersonalValue() {
    if (old_) {
      RegSetValueExA(handle_.Get(), "Personal", 0, type_, reinterpret_cast<const BYTE*>(old_->data()),
                     static_cast<DWORD>(old_->size()));
    } else {
      RegDeleteValueA(handle_.Get(), "Personal");
    }
  }
  void Set(const std::string& value, DWORD type = REG_SZ) {
    RegSetValueExA(handle_.Get(), "Personal", 0, type, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
  }
  void SetNumber(DWORD value) {
    RegSetValueExA(handle_.Get(), "Personal", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
  }
  void Remove() { RegDeleteValueA(handle_.Get(), "Personal"); }

 private:
  const char* key_;
  RegKey handle_;
  DWORD type_ = REG_SZ;
  std::optional<std::string> old_;
};

class DocumentsFolderTest : public ::testing::Test {
 protected:
  PersonalValue shell_{kShellFolders};
  PersonalValue user_{kUserShellFolders};
  TempDir dir_;
};

TEST_F(DocumentsFolderTest, ShellFoldersComesFirst) {
  shell_.Set(dir_.path());
  user_.Set("C:\\windows");
  EXPECT_EQ(FindDocumentsFolder(), dir_.path());
}

TEST_F(DocumentsFolderTest, UserShellFoldersServesWhenShellFoldersNamesNoDirectory) {
  shell_.Set(dir_.path() + "\\missing");
  user_.Set(dir_.path(), REG_EXPAND_SZ);
  EXPECT_EQ(FindDocumentsFolder(), dir_.path());
  shell_.Remove();
  EXPECT_EQ(FindDocumentsFolder(), dir_.path());
}

TEST_F(DocumentsFolderTest, EnvironmentReferencesAreNotExpanded) {
  shell_.Set(dir_.path() + "\\missing");
  user_.Set("%USERPROFILE%", REG_EXPAND_SZ);
  EXPECT_EQ(FindDocumentsFolder(), "");
}

TEST_F(DocumentsFolderTest, AValueOfAnotherTypeOrAFileIsNoFolder) {
  shell_.SetNumber(5);
  user_.Remove();
  EXPECT_EQ(FindDocumentsFolder(), "");
  std::string file = dir_.File("plain.txt");
  WriteBytes(file, "x");
  shell_.Set(file);
  EXPECT_EQ(FindDocumentsFolder(), "");
  EXPECT_FALSE(IsExistingDirectory(""));
}

}  // namespace
}  // namespace quolvi::test
