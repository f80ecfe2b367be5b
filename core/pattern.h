// The search pattern language: literal text with the wildcards "*" (any run,
// possibly empty) and "?" (at least one character), and backslash escapes.
//
// Double-byte characters are indivisible here: the second byte of one (0x5C
// in 表, ソ or 能) is never taken for a backslash, so such characters search
// and replace as themselves.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quolvi {

// The pattern's tokens in order: wildcard tokens ("*" or "?") and literal
// segments (escapes still unresolved), with trailing wildcards dropped. A
// wildcard right after a backslash is escaped and stays in its segment.
std::vector<std::string> SplitPattern(std::string_view pattern);

inline bool IsWildcard(std::string_view token) { return token == "*" || token == "?"; }

// Resolves the escapes of a raw string: a backslash and two hexadecimal
// digits give the byte with that value (not 0); "\*", "\?", "\\" give the
// character; "\n" gives CR LF, "\r" CR and "\t" TAB (lower case only). Any
// other backslash is dropped and what follows it stays.
std::string UnescapeText(std::string_view raw);

// The text a replacement inserts: the raw replacement unescaped, and every
// CR or LF in it that is not part of a CR LF pair made one, so that the
// document keeps its line breaks whole ("\r", "\0D" and "\0A" each insert
// a line break, like "\n").
std::string ReplacementText(std::string_view raw);

}  // namespace quolvi
