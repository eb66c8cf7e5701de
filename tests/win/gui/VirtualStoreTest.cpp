// ICQ on Windows Vista to 11: its machine-wide values where ICQ itself sees
// them. A virtualized ICQ keeps copies of its HKLM keys in the user's virtual
// store and prefers them, value by value. Wine keeps no store: the tests seed
// the copies as a 64-bit Windows keeps them and tell the registry layer so.
#include <optional>

#include "GuiFixture.h"

using namespace vaktest;
namespace ids = vak::ids;

namespace {

const char* const kRegLite = "HKLM\\Software\\Mirabilis\\ICQ\\NewOwners\\";

std::string regAt(const std::string& key, const std::string& name) {
  auto q = regQuery(key, name);
  return q ? q->type + " " + q->data : "<missing>";
}
std::string binary(const std::string& bytes) { return "REG_BINARY " + compactHex(bytes); }

class IcqCopies : public GuiTest {
 protected:
  // ICQ's copy of its key sub ("\\DefaultPrefs"), as reg.exe and a .reg file name it.
  std::string copyKey(const std::string& sub) const { return store_.icq(sub); }
  RegSeed& seedCopy(const std::string& sub) {
    return seed_.key("HKEY_CURRENT_USER" + copyKey(sub).substr(std::string("HKCU").size()));
  }
  static std::string lite(const std::string& uin) { return "\\NewOwners\\" + uin + "\\ICQLite"; }

  SimulatedVirtualStore store_{vak::VirtualStoreKind::Wow64};
};

}  // namespace

TEST_F(IcqCopies, PanelsAndOptionsShowIcqsCopiesAndChangesGoThere) {
  seedTwoProfiles();
  addProfile("333", "Dora");
  const std::string smileys = folder_ + "\\Smileys";
  seedCopy(lite("111"))
      .binary("AwayStatusText", "Virtuell weg")
      .str("RemindBirthday", "Yes")
      .dword("RemindBirthdayDaysBefore", 4)
      .str("SmileyFilePath", smileys);
  seedCopy("\\DefaultPrefs").str("MultiInstance", "Yes");
  seedCopy(lite("333")).str("RemindBirthday", "No");
  startApp();
  // The copy's values win; the not-available text is HKLM's.
  EXPECT_EQ(text(ctl(ids::AwayEd)), "Virtuell weg");
  EXPECT_EQ(text(ctl(ids::NaEd)), seedNa("111"));
  EXPECT_TRUE(vak::isChecked(ctl(ids::GebBox)));
  EXPECT_EQ(text(ctl(ids::GebEdit)), "4");
  EXPECT_TRUE(vak::isChecked(ctl(ids::MultiIBox)));
  EXPECT_EQ(text(ctl(ids::SmOrt)), smileys);

  // Everything written for 111 lands in its copy; HKLM keeps what it had.
  form().status().model().away = "Neu weg";
  click(ctl(ids::Button1));
  EXPECT_EQ(regAt(copyKey(lite("111")), "AwayStatusText"), binary("Neu weg"));
  EXPECT_EQ(regAt(copyKey(lite("111")), "NAStatusText"), binary(seedNa("111")));
  EXPECT_EQ(regAt(copyKey(lite("111")), "RemindBirthdayDaysBefore"), "REG_DWORD 0x4");
  EXPECT_EQ(regAt(kRegLite + std::string("111\\ICQLite"), "AwayStatusText"), binary(seedAway("111")));
  EXPECT_EQ(regAt(kRegLite + std::string("111\\ICQLite"), "RemindBirthday"), "REG_SZ No");
  click(ctl(ids::MultiIBox));
  EXPECT_EQ(regAt(copyKey("\\DefaultPrefs"), "MultiInstance"), "REG_SZ No");
  click(ctl(ids::MultiIBox));
  EXPECT_EQ(regAt(copyKey("\\DefaultPrefs"), "MultiInstance"), "REG_SZ Yes");
  EXPECT_EQ(regAt("HKLM\\Software\\Mirabilis\\ICQ\\DefaultPrefs", "MultiInstance"), "REG_SZ No");

  // A profile without copies is read and written in HKLM, and gets none.
  chooseProfile(1);
  EXPECT_EQ(text(ctl(ids::AwayEd)), seedAway("222"));
  form().status().model().away = "Zweiter";
  click(ctl(ids::Button1));
  EXPECT_EQ(regAt(kRegLite + std::string("222\\ICQLite"), "AwayStatusText"), binary("Zweiter"));
  EXPECT_FALSE(regKeyExists(copyKey("\\NewOwners\\222")));

  // Deleting a profile removes its copies too.
  vak::comboSelect(ctl(ids::DelProfile), 2);
  ui_.answers.push_back(vak::MbResYes);
  click(ctl(ids::DelProfileBtn));
  EXPECT_FALSE(regKeyExists(copyKey("\\NewOwners\\333")));
  EXPECT_FALSE(regKeyExists(kRegLite + std::string("333")));
  EXPECT_FALSE(regKeyExists(std::string(kRegOwners) + "\\333"));
  EXPECT_TRUE(regKeyExists(copyKey(lite("111"))));
  ASSERT_EQ(ui_.boxes.size(), 1u);  // the question
}

// A user without administrator rights: HKLM refuses, and the writes go where
// Windows puts ICQ's own, without a word, as they do for ICQ.
TEST_F(IcqCopies, WhatHklmRefusesLandsInTheStore) {
  seedTwoProfiles();
  std::optional<RestrictedKey> lock;
  startApp([&] {
    lock.emplace(HKEY_LOCAL_MACHINE, "Software\\Mirabilis\\ICQ\\NewOwners\\111\\ICQLite",
                 RestrictedKey::kEveryoneReads);
  });
  ASSERT_TRUE(lock->writeRefused());
  EXPECT_EQ(regAt(copyKey(lite("111")), "RemindBirthday"), "REG_SZ No");  // the read's write-back
  form().status().model().away = "Neu weg";
  click(ctl(ids::Button1));
  EXPECT_TRUE(ui_.boxes.empty());
  EXPECT_EQ(regAt(copyKey(lite("111")), "AwayStatusText"), binary("Neu weg"));
  EXPECT_EQ(regAt(kRegLite + std::string("111\\ICQLite"), "AwayStatusText"), binary(seedAway("111")));
  // Read again, the profile shows what ICQ will show.
  ui_.answers.push_back(vak::MbResYes);
  click(ctl(ids::Button2));
  EXPECT_EQ(text(ctl(ids::AwayEd)), "Neu weg");
  EXPECT_EQ(text(ctl(ids::NaEd)), seedNa("111"));
}
