// Splitting a Windows command line into its arguments, by the rules of the
// C run-time's start-up code.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace platform::real {

// Blanks and tabs outside quotes separate arguments; a quoted part may sit
// inside a larger argument. 2n backslashes before '"' give n backslashes and
// the quote opens or closes quoting; 2n+1 give n backslashes and a literal
// '"'; backslashes elsewhere are literal. Inside quotes '""' is a literal '"'
// and ends the quoted part. An unterminated quote runs to the end of the line.
std::vector<std::string> SplitCommandLine(std::string_view commandLine);

}  // namespace platform::real
