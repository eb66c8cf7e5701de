#pragma once
// The arguments of a Windows command line, split by the rules of the C
// runtime and CommandLineToArgvW (without loading shell32 for them).
#include <string>
#include <vector>

namespace vak {

// All arguments, the program name first. The program name ends at the first
// blank or tab, or is the text between the first two quotes. Then: blanks and
// tabs separate arguments outside quotes; quotes group and are removed; 2n
// backslashes before a quote give n backslashes, 2n + 1 give n and a literal
// quote; other backslashes are kept; "" inside quotes gives one quote.
std::vector<std::wstring> splitCommandLine(const std::wstring& line);

}  // namespace vak
