// Splitting the command line the way the C runtime and CommandLineToArgvW do.
#include <gtest/gtest.h>

#include "platform/CommandLine.h"

using vak::splitCommandLine;
using Args = std::vector<std::wstring>;

TEST(CommandLine, ProgramNameQuotedOrUpToTheFirstBlank) {
  EXPECT_EQ(splitCommandLine(L"vak.exe"), (Args{L"vak.exe"}));
  EXPECT_EQ(splitCommandLine(L"\"C:\\Program Files\\VAK\\vak.exe\" -1"),
            (Args{L"C:\\Program Files\\VAK\\vak.exe", L"-1"}));
  // No escapes in the program name: a backslash before its closing quote stays.
  EXPECT_EQ(splitCommandLine(L"\"C:\\VAK\\\" x"), (Args{L"C:\\VAK\\", L"x"}));
  EXPECT_EQ(splitCommandLine(L""), (Args{L""}));
}

TEST(CommandLine, BlanksAndTabsSeparateOutsideQuotes) {
  EXPECT_EQ(splitCommandLine(L"vak.exe  -1\t /1  "), (Args{L"vak.exe", L"-1", L"/1"}));
  EXPECT_EQ(splitCommandLine(L"vak.exe \"zwei W\u00f6rter\" a\"b c\"d"),
            (Args{L"vak.exe", L"zwei W\u00f6rter", L"ab cd"}));
  EXPECT_EQ(splitCommandLine(L"vak.exe \"\" x"), (Args{L"vak.exe", L"", L"x"}));
  EXPECT_EQ(splitCommandLine(L"vak.exe \"offen bis zum Ende"), (Args{L"vak.exe", L"offen bis zum Ende"}));
}

TEST(CommandLine, BackslashesCountOnlyBeforeAQuote) {
  EXPECT_EQ(splitCommandLine(L"p a\\\"b"), (Args{L"p", L"a\"b"}));          // a\"b      -> a"b
  EXPECT_EQ(splitCommandLine(L"p a\\\\\"b c\""), (Args{L"p", L"a\\b c"}));   // a\\"b c"  -> a\b c
  EXPECT_EQ(splitCommandLine(L"p a\\\\\\\"b"), (Args{L"p", L"a\\\"b"}));    // a\\\"b    -> a\"b
  EXPECT_EQ(splitCommandLine(L"p C:\\VAK\\ \\\\server\\x"), (Args{L"p", L"C:\\VAK\\", L"\\\\server\\x"}));
  EXPECT_EQ(splitCommandLine(L"p \"a \"\"b\"\" c\""), (Args{L"p", L"a \"b\" c"}));  // "" inside quotes
}
