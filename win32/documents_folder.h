// The user's documents folder, as the shell records it in the registry.
#pragma once

#include <string>

namespace quolvi {

// The value "Personal" of "Shell Folders", else of "User Shell Folders",
// under HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer,
// taken as stored (environment references are not expanded); empty when
// neither names an existing directory.
std::string FindDocumentsFolder();

// Whether path names an existing directory.
bool IsExistingDirectory(const std::string& path);

}  // namespace quolvi
