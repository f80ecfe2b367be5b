// Tests on files before they are opened or written.
#pragma once

#include <string>

namespace quolvi {

// FindFirstFileA finds an entry that is no directory and whose last-write
// time converts to local time and to an MS-DOS date and time. A name with
// wildcards passes when it matches such a file.
bool PassesExistingFileTest(const std::string& name);

}  // namespace quolvi
