#include "settings/StartRule.h"

#include <gtest/gtest.h>

namespace vak {
namespace {

struct StartCase {
  bool savedOnce;
  const char* savedNumber;
  bool useDefault;
  long long lastOwner;
  const char* expected;
};

TEST(StartRule, StartNumberTable) {
  const StartCase cases[] = {
      // Only saved once + not empty + "Standardnummer verwenden" off takes the saved number.
      {true, "123456", false, 777, "123456"},
      {true, "123456", true, 777, "777"},
      {false, "123456", false, 777, "777"},
      {false, "123456", true, 777, "777"},
      {true, "", false, 777, "777"},
      {true, "", true, 777, "777"},
      {false, "", false, 777, "777"},
      // No LastOwner: the text 0, never empty.
      {true, "", false, 0, "0"},
      {false, "", true, 0, "0"},
      {true, "42", false, 0, "42"},
      {true, "123456", true, 4294967295LL, "4294967295"},
  };
  for (const StartCase& c : cases) {
    StartSettings s;
    s.savedOnce = c.savedOnce;
    s.savedNumber = c.savedNumber;
    s.useDefault = c.useDefault;
    EXPECT_EQ(chooseStartNumber(s, c.lastOwner), c.expected)
        << "savedOnce=" << c.savedOnce << " saved='" << c.savedNumber << "' useDefault=" << c.useDefault;
  }
}

TEST(StartRule, DefaultSettingsUseLastOwner) {
  EXPECT_EQ(chooseStartNumber(StartSettings{}, 98765), "98765");
}

TEST(StartRule, ResolveListedNumber) {
  const std::vector<std::string> listed = {"111", "222", "333"};
  const StartProfile p = resolveStartProfile("222", listed);
  EXPECT_EQ(p.number, "222");
  EXPECT_EQ(p.position, 1);
  EXPECT_EQ(resolveStartProfile("333", listed).position, 2);
  EXPECT_EQ(resolveStartProfile("111", listed).position, 0);
}

TEST(StartRule, ResolveUnlistedFallsBackToFirst) {
  const std::vector<std::string> listed = {"111", "222"};
  for (const char* n : {"999", "0", "22", "2222", "0222"}) {
    const StartProfile p = resolveStartProfile(n, listed);
    EXPECT_EQ(p.number, "111") << n;
    EXPECT_EQ(p.position, 0) << n;
  }
}

TEST(StartRule, ResolveNothingListed) {
  const StartProfile p = resolveStartProfile("0", {});
  EXPECT_EQ(p.number, "0");
  EXPECT_EQ(p.position, -1);
  const StartProfile q = resolveStartProfile("123456", {});
  EXPECT_EQ(q.number, "123456");
  EXPECT_EQ(q.position, -1);
}

}  // namespace
}  // namespace vak
