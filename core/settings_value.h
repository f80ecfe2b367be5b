// The settings file: where it lives and how its integers are read.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quolvi {

// The settings file of a program at executablePath: the folder of that path
// (folder_rules.h, so a drive's root keeps its backslash) and "\vessaro.ini".
std::string SettingsFilePath(std::string_view executablePath);

// An integer as the settings file holds it, or fallback for anything else.
// "0x" or "0X" at the start of a value longer than two characters stands
// for "$"; blanks may lead. Then either "$" and hexadecimal digits, at most
// eight significant ones, taken as a 32-bit pattern; or an optional sign and
// decimal digits within the 32-bit range. Nothing may follow.
std::int32_t ReadSettingsInteger(std::string_view value, std::int32_t fallback);

}  // namespace quolvi
