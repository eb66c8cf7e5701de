// The program's own command-line splitting agrees with CommandLineToArgvW.
#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include "platform/CommandLine.h"

TEST(CommandLine, AgreesWithCommandLineToArgvW) {
  const wchar_t* lines[] = {
      L"vak.exe",
      L"\"C:\\Program Files\\VAK\\vak.exe\" -1",
      L"vak.exe  -1\t /1  ",
      L"vak.exe \"zwei W\u00f6rter\" a\"b c\"d \"\" x",
      L"p a\\\"b a\\\\\"b c\" a\\\\\\\"b C:\\VAK\\ \\\\server\\x",
      L"p \"offen bis zum Ende",
  };
  for (const wchar_t* line : lines) {
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(line, &argc);
    ASSERT_NE(argv, nullptr);
    std::vector<std::wstring> expected(argv, argv + argc);
    LocalFree(argv);
    EXPECT_EQ(vak::splitCommandLine(line), expected) << "line: " << testing::PrintToString(std::wstring(line));
  }
}
