#include "platform/VirtualStore.h"

#include <gtest/gtest.h>

namespace vak {
namespace {

TEST(VirtualStore, OnlyVirtualizingWindowsKeepsAStore) {
  SystemFacts win10x64;
  win10x64.windowsMajor = 10;
  win10x64.windows64 = true;
  EXPECT_EQ(virtualStoreOf(win10x64), VirtualStoreKind::Wow64);
  SystemFacts vista32;
  vista32.windowsMajor = 6;
  EXPECT_EQ(virtualStoreOf(vista32), VirtualStoreKind::Native);

  SystemFacts xp = win10x64;
  xp.windowsMajor = 5;
  SystemFacts wine = win10x64;
  wine.wine = true;
  SystemFacts uacOff = win10x64;
  uacOff.uacOn = false;
  SystemFacts policyOff = vista32;
  policyOff.virtualizationOn = false;
  for (const SystemFacts& none : {xp, wine, uacOff, policyOff}) EXPECT_EQ(virtualStoreOf(none), VirtualStoreKind::None);
}

TEST(VirtualStore, CopiesOfMachineKeysBelowSoftwareOnly) {
  const std::string lite = "\\software\\mirabilis\\icq\\NewOwners\\123\\ICQLite\\";
  EXPECT_EQ(virtualStorePath(VirtualStoreKind::Wow64, lite),
            "Software\\Classes\\VirtualStore\\MACHINE\\SOFTWARE\\WOW6432Node\\mirabilis\\icq\\NewOwners\\123\\ICQLite");
  EXPECT_EQ(virtualStorePath(VirtualStoreKind::Native, "\\Software\\Mirabilis\\ICQ\\DefaultPrefs"),
            "Software\\Classes\\VirtualStore\\MACHINE\\SOFTWARE\\Mirabilis\\ICQ\\DefaultPrefs");
  EXPECT_EQ(virtualStorePath(VirtualStoreKind::None, lite), "");
  // Never virtualized, never the store's root, nothing outside Software.
  for (const char* path : {"\\Software\\Classes\\CLSID", "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion",
                           "\\Software\\Microsoft\\Windows NT", "\\Software", "\\", "\\System\\Mirabilis"})
    EXPECT_EQ(virtualStorePath(VirtualStoreKind::Wow64, path), "") << path;
  EXPECT_NE(virtualStorePath(VirtualStoreKind::Wow64, "\\Software\\Microsoft\\Windows Media"), "");
}

}  // namespace
}  // namespace vak
