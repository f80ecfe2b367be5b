#include "core/command_line.h"

#include <gtest/gtest.h>

namespace quolvi {
namespace {

using Args = std::vector<std::string>;

TEST(CommandLineTest, SplitsAtBlanksAndControlCharacters) {
  EXPECT_EQ(SplitCommandLine("quolvi.exe a.txt  b\tc"), (Args{"quolvi.exe", "a.txt", "b", "c"}));
  EXPECT_EQ(SplitCommandLine("  x  "), Args{"x"});
  EXPECT_EQ(SplitCommandLine(""), Args{});
  EXPECT_EQ(SplitCommandLine(std::string_view("a\0b", 3)), Args{"a"});  // a NUL ends the line
}

TEST(CommandLineTest, QuotesGroupAndTouchingStretchesJoin) {
  EXPECT_EQ(SplitCommandLine("\"C:\\Program Files\\q.exe\" \"my file.txt\""),
            (Args{"C:\\Program Files\\q.exe", "my file.txt"}));
  EXPECT_EQ(SplitCommandLine("a\"b c\"d e"), (Args{"ab cd", "e"}));
  EXPECT_EQ(SplitCommandLine("q \"open"), (Args{"q", "open"}));  // runs to the end
  EXPECT_EQ(SplitCommandLine("q \"\" x"), (Args{"q", "x"}));     // an empty pair is no argument
  EXPECT_EQ(SplitCommandLine("q \"\"x"), (Args{"q", "x"}));
}

TEST(CommandLineTest, DoubleByteNamesAndLongArgumentsStayWhole) {
  EXPECT_EQ(SplitCommandLine("q C:\\表\\ソ.txt"), (Args{"q", "C:\\表\\ソ.txt"}));
  std::string longName(300, 'n');
  EXPECT_EQ(SplitCommandLine("q " + longName), (Args{"q", longName}));
  // Characters of any code, as the system's UTF-16 command line holds them.
  EXPECT_EQ(SplitCommandLine(L"q \"caf\u00e9 \U0001F600.txt\"\u3000x"),
            (std::vector<std::wstring>{L"q", L"caf\u00e9 \U0001F600.txt\u3000x"}));
}

}  // namespace
}  // namespace quolvi
