// The version resource of the built exes as Explorer's file properties read
// it: the strings of the block that the first translation names.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "Version.h"

namespace {

// The folder of the built exes, beside the tests' folder.
std::wstring binFolder() {
  wchar_t self[MAX_PATH];
  std::wstring path(self, GetModuleFileNameW(nullptr, self, MAX_PATH));
  path = path.substr(0, path.rfind(L'\\'));
  return path.substr(0, path.rfind(L'\\')) + L"\\bin\\";
}

std::wstring wide(const char* ascii) { return std::wstring(ascii, ascii + std::char_traits<char>::length(ascii)); }

}  // namespace

TEST(VersionInfo, BothExesShowTheVersionAndTheProduct) {
  const WORD numbers[] = {VAK_VERSION_NUMBERS};
  for (const char* name : {"vak.exe", "updater.exe"}) {
    SCOPED_TRACE(name);
    const std::wstring path = binFolder() + wide(name);
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    ASSERT_GT(size, 0u) << "no version resource";
    std::vector<char> data(size);
    ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, data.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    for (const DWORD* version : {&fixed->dwFileVersionMS, &fixed->dwProductVersionMS}) {
      EXPECT_EQ(HIWORD(version[0]), numbers[0]);
      EXPECT_EQ(LOWORD(version[0]), numbers[1]);
      EXPECT_EQ(HIWORD(version[1]), numbers[2]);
      EXPECT_EQ(LOWORD(version[1]), numbers[3]);
    }

    struct Translation {
      WORD language, codePage;
    }* translation = nullptr;
    ASSERT_TRUE(VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation),
                               &length));
    ASSERT_GE(length, sizeof *translation);
    wchar_t block[64];
    swprintf(block, 64, L"\\StringFileInfo\\%04x%04x\\", translation->language, translation->codePage);
    auto value = [&](const wchar_t* key) {
      wchar_t* text = nullptr;
      UINT chars = 0;
      if (!VerQueryValueW(data.data(), (std::wstring(block) + key).c_str(), reinterpret_cast<void**>(&text), &chars) ||
          !text)
        return std::wstring(L"(missing)");
      return std::wstring(text);
    };
    EXPECT_EQ(value(L"ProductName"), L"Meldewart f\u00fcr ICQ");
    EXPECT_EQ(value(L"FileDescription").substr(0, 17), L"Meldewart f\u00fcr ICQ");
    EXPECT_EQ(value(L"ProductVersion"), wide(VAK_VERSION));
    EXPECT_EQ(value(L"FileVersion"), wide(VAK_VERSION));
    EXPECT_EQ(value(L"OriginalFilename"), wide(name));
    EXPECT_NE(value(L"LegalCopyright").find(L"GNU General Public License"), std::wstring::npos)
        << value(L"LegalCopyright").c_str();
  }
}
