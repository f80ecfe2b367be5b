#include "win32/new_file.h"

#include <windows.h>

#include <cwchar>
#include <vector>

namespace quolvi {

FileHandle CreateFileBeside(const std::wstring& folder, std::wstring& name) {
  // Made here rather than by GetTempFileName, which under Wine reports a
  // name it could not create as made.
  const std::wstring prefix = folder.empty() || folder.back() == L'\\' ? folder : folder + L'\\';
  DWORD seed = GetTickCount() ^ (GetCurrentProcessId() << 16);
  for (int attempt = 0; attempt < 1000; ++attempt) {
    wchar_t leaf[16];
    std::swprintf(leaf, 16, L"qlv%08lx.tmp", static_cast<unsigned long>(seed + attempt * 0x9E3779B9u));
    name = prefix + leaf;
    FileHandle file(CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file || (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS)) return file;
  }
  return FileHandle();
}

std::optional<std::wstring> FinalName(const std::wstring& path) {
  // Looked up at run time: the call is missing before Windows Vista.
  using GetFinalName = DWORD(WINAPI*)(HANDLE, LPWSTR, DWORD, DWORD);
  auto getFinalName = reinterpret_cast<GetFinalName>(
      reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "GetFinalPathNameByHandleW")));
  // Opened for no access at all, which no other program's sharing refuses.
  FileHandle file(CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!file || !getFinalName) return std::nullopt;
  std::wstring name(MAX_PATH, L'\0');
  for (;;) {
    DWORD length = getFinalName(file.Get(), name.data(), static_cast<DWORD>(name.size()), 0);
    if (length == 0) return std::nullopt;
    if (length < name.size()) {
      name.resize(length);
      return name;
    }
    name.resize(length);
  }
}

namespace {

constexpr SECURITY_INFORMATION kOwnerGroupAndAccess =
    OWNER_SECURITY_INFORMATION | GROUP_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION;

// The file's owner, group and access list as one self-relative security
// descriptor; empty when they cannot be read.
std::vector<BYTE> SecurityOf(const std::wstring& file) {
  DWORD size = 0;
  GetFileSecurityW(file.c_str(), kOwnerGroupAndAccess, nullptr, 0, &size);
  std::vector<BYTE> security(size);
  if (size == 0 || !GetFileSecurityW(file.c_str(), kOwnerGroupAndAccess, security.data(), size, &size)) return {};
  return security;
}

}  // namespace

bool CopySecurity(const std::wstring& model, const std::wstring& file) {
  if (GetFileAttributesW(model.c_str()) == INVALID_FILE_ATTRIBUTES) return true;
  std::vector<BYTE> security = SecurityOf(model);
  if (security.empty()) return false;
  // Set only where it differs: Wine keeps a file's access in its Unix mode,
  // and a list set anew comes back as a wider mode (read brings execute
  // with it, the group gets the owner's rights), which a file whose list is
  // already the same need not suffer.
  if (security == SecurityOf(file)) return true;
  return SetFileSecurityW(file.c_str(), kOwnerGroupAndAccess, security.data()) ||
         SetFileSecurityW(file.c_str(), GROUP_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, security.data()) ||
         SetFileSecurityW(file.c_str(), DACL_SECURITY_INFORMATION, security.data());
}

}  // namespace quolvi
