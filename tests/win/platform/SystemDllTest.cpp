// Functions of system DLLs resolved on first use (the file dialogs).
#include <windows.h>
#include <commdlg.h>

#include <gtest/gtest.h>

#include "platform/SystemDll.h"

using namespace vak;

TEST(SystemDll, ResolvesOnFirstUseAndKeepsTheDll) {
  using DialogFn = BOOL(WINAPI*)(OPENFILENAMEW*);
  const auto open = systemFunction<DialogFn>(L"comdlg32.dll", "GetOpenFileNameW");
  ASSERT_NE(open, nullptr);
  EXPECT_NE(GetModuleHandleW(L"comdlg32.dll"), nullptr);
  EXPECT_EQ(systemFunction<DialogFn>(L"comdlg32.dll", "GetOpenFileNameW"), open);
  EXPECT_NE(systemFunction<DialogFn>(L"comdlg32.dll", "GetSaveFileNameW"), nullptr);
}

TEST(SystemDll, MissingDllOrFunctionGivesNull) {
  EXPECT_EQ(systemProc(L"comdlg32.dll", "NoSuchFunctionInThere"), nullptr);
  EXPECT_EQ(systemProc(L"vak-no-such-library.dll", "GetOpenFileNameW"), nullptr);
}
