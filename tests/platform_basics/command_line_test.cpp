#include "process/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct SplitCase {
  const char* line;
  std::vector<std::string> arguments;
};

class CommandLineSplit : public ::testing::TestWithParam<SplitCase> {};

TEST_P(CommandLineSplit, GivesTheArgumentsTheRuntimeWouldSee) {
  EXPECT_EQ(platform::real::SplitCommandLine(GetParam().line), GetParam().arguments)
      << "line: " << GetParam().line;
}

INSTANTIATE_TEST_SUITE_P(
    Table, CommandLineSplit,
    ::testing::Values(
        SplitCase{"", {}}, SplitCase{" \t ", {}},
        SplitCase{"prog", {"prog"}},
        SplitCase{"  prog \t a   b  ", {"prog", "a", "b"}},
        SplitCase{R"("a b c" d e)", {"a b c", "d", "e"}},
        SplitCase{R"(a\\\"b c d)", {R"(a\"b)", "c", "d"}},
        SplitCase{R"(a"b"" c d)", {R"(ab")", "c", "d"}},
        SplitCase{R"("ab\"c" "\\" d)", {R"(ab"c)", R"(\)", "d"}},
        SplitCase{R"(a\\\b d"e f"g h)", {R"(a\\\b)", "de fg", "h"}},
        SplitCase{R"(a\\"b c" d e)", {R"(a\b c)", "d", "e"}},
        SplitCase{R"(x "" y)", {"x", "", "y"}},
        SplitCase{R"(x "unterminated  quote)", {"x", "unterminated  quote"}},
        SplitCase{R"(.\install\disk1\Setup.exe)", {R"(.\install\disk1\Setup.exe)"}},
        SplitCase{R"("C:\Program Files\Web\web.exe" -nohome http://10.0.0.2/a?b=1&c=$x;y)",
                  {R"(C:\Program Files\Web\web.exe)", "-nohome", "http://10.0.0.2/a?b=1&c=$x;y"}},
        SplitCase{"lynx 'http://x/`id`'", {"lynx", "'http://x/`id`'"}}));

}  // namespace
