// Status files through the real private-profile functions.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "platform/Errors.h"
#include "platform/Ini.h"
#include "platform/Text.h"
#include "status/StatusFile.h"

using namespace vaktest;

namespace {

vak::StatusModel sampleSet(const std::string& tag) {
  vak::StatusModel m;
  for (int n = 1; n <= vak::kEntryCount; ++n) {
    m.entry(n).title = tag + " Titel " + std::to_string(n);
    m.entry(n).message = tag + " Nachricht " + std::to_string(n);
    m.entry(n).active = n % 3 == 0;
    m.stateOf(n) = n % 4;  // 0..3: only 1 comes back active
  }
  m.away = "weg";
  m.na = "lange weg";
  return m;
}

void expectSameTexts(const vak::StatusModel& got, const vak::StatusModel& want) {
  for (int n = 1; n <= vak::kEntryCount; ++n) {
    EXPECT_EQ(got.entry(n).title, want.entry(n).title) << "entry " << n << ": " << hex(got.entry(n).title);
    EXPECT_EQ(got.entry(n).message, want.entry(n).message) << "entry " << n << ": " << hex(got.entry(n).message);
  }
}

vak::StatusModel filled(const std::string& text, bool active, int state) {
  vak::StatusModel m;
  for (int n = 1; n <= vak::kEntryCount; ++n) {
    m.entry(n) = {text, text, active};
    m.stateOf(n) = state;
  }
  m.away = "away";
  m.na = "na";
  return m;
}

}  // namespace

TEST(StatusFile, SaveChangeLoadBringsTheSetBack) {
  const std::string path = freshDir("sf_roundtrip") + "\\set.icq";
  const vak::StatusModel saved = sampleSet("A");
  vak::saveStatusFile(path, saved);

  vak::StatusModel m = filled("changed", true, 7);
  ASSERT_EQ(vak::loadStatusFile(path, m), vak::LoadResult::Loaded);
  expectSameTexts(m, saved);
  for (int n = 1; n <= vak::kEntryCount; ++n) {
    EXPECT_EQ(m.entry(n).active, saved.stateOf(n) == 1) << "entry " << n;  // c is the state, not the box
    EXPECT_EQ(m.stateOf(n), 7) << "entry " << n;                           // the state list stays
  }
  EXPECT_EQ(m.away, "away");
  EXPECT_EQ(m.na, "na");
}

TEST(StatusFile, NewFileLayout) {
  const std::string path = freshDir("sf_layout") + "\\new.icq";
  vak::StatusModel m;
  m.entry(1) = {"Bin weg", "Komme gleich wieder", false};
  m.stateOf(1) = 1;
  vak::saveStatusFile(path, m);
  const std::string bytes = readFileBytes(path);
  EXPECT_EQ(bytes.rfind("[Statusdatei]\r\n#01=1\r\n", 0), 0u) << bytes.substr(0, 80);
  EXPECT_NE(bytes.find("[1]\r\na=Bin weg\r\nb=Komme gleich wieder\r\nc=1\r\n"), std::string::npos);
  EXPECT_NE(bytes.find("[32]\r\na=\r\nb=\r\nc=0\r\n"), std::string::npos);
  EXPECT_EQ(bytes.find("ax="), std::string::npos);  // plain texts need no escaped form
}

TEST(StatusFile, AwkwardTextsSurviveARealFile) {
  const std::string dir = freshDir("sf_awkward");
  const std::string path = dir + "\\awkward.icq";
  std::string high;
  for (int c = 0x80; c <= 0xFF; ++c) high += static_cast<char>(c);
  const std::string texts[] = {
      "Zeile 1\r\nZeile 2\r\n",
      "a=b=c",
      ";kein Kommentar",
      "[1]",
      "]x[",
      "C:\\Pfad\\",
      "\\r\\n sind keine Zeilenumbr\xFC" "che",
      "\"in Anf\xFChrungszeichen\"",
      "'einfach'",
      "  Blanks am Rand  ",
      " ",
      "\t",
      high,
      "nur\rCR und nur\nLF",
      "\"",
      "zur\xFC" "ck \xE4\xF6\xDF",
  };
  vak::StatusModel saved;
  int n = 1;
  for (const std::string& t : texts) {
    saved.entry(n).title = t;
    saved.entry(n + 16).message = t;
    ++n;
  }
  saved.entry(17).title = "[Statusdatei]\r\n#01=2";
  vak::saveStatusFile(path, saved);

  vak::StatusModel m = filled("x", false, 0);
  ASSERT_EQ(vak::loadStatusFile(path, m), vak::LoadResult::Loaded);
  expectSameTexts(m, saved);

  // Saved again with plain texts, the escaped forms go and the plain ones count.
  const vak::StatusModel plain = sampleSet("P");
  vak::saveStatusFile(path, plain);
  EXPECT_EQ(readFileBytes(path).find("x="), std::string::npos);
  ASSERT_EQ(vak::loadStatusFile(path, m), vak::LoadResult::Loaded);
  expectSameTexts(m, plain);
}

TEST(StatusFile, FilesThatAreNoStatusFiles) {
  const std::string dir = freshDir("sf_refused");
  const vak::StatusModel before = filled("unchanged", true, 3);

  writeFileBytes(dir + "\\two.icq", "[Statusdatei]\r\n#01=2\r\n[1]\r\na=neu\r\nb=neu\r\nc=1\r\n");
  writeFileBytes(dir + "\\nomark.icq", "[Statusdatei]\r\n#DATE=1.1.2020\r\n[1]\r\na=neu\r\n");
  writeFileBytes(dir + "\\empty.icq", "[Statusdatei]\r\n#01=\r\n");
  writeFileBytes(dir + "\\other.ini", "[Einstellungen]\r\n#01=1\r\n");
  for (const std::string& path :
       {dir + "\\two.icq", dir + "\\nomark.icq", dir + "\\empty.icq", dir + "\\other.ini", dir + "\\missing.icq",
        std::string()}) {
    vak::StatusModel m = before;
    EXPECT_EQ(vak::loadStatusFile(path, m), vak::LoadResult::NotAStatusFile) << path;
    expectSameTexts(m, before);
    for (int n = 1; n <= vak::kEntryCount; ++n) EXPECT_TRUE(m.entry(n).active);
  }
}

TEST(StatusFile, HeaderOnlyLoadsEmptyEntries) {
  const std::string path = freshDir("sf_header") + "\\header.icq";
  writeFileBytes(path, "[Statusdatei]\r\n#01=1\r\n");
  vak::StatusModel m = filled("voll", true, 1);
  ASSERT_EQ(vak::loadStatusFile(path, m), vak::LoadResult::Loaded);
  expectSameTexts(m, filled("", false, 0));
  for (int n = 1; n <= vak::kEntryCount; ++n) {
    EXPECT_FALSE(m.entry(n).active);
    EXPECT_EQ(m.stateOf(n), 1);
  }
}

TEST(StatusFile, HandWrittenPlainFileLoadsAsAlways) {
  const std::string path = freshDir("sf_plain") + "\\plain.icq";
  // Names and values as older writers and people put them: blanks, case, quotes.
  std::string text = "[statusdatei]\r\n #01 = 1 \r\n\r\n[1]\r\na=Bin weg\r\nb=Komme gleich wieder\r\nc=1\r\n";
  text += "[ 2 ]\r\nA =  Blanks  \r\nB=\"zitiert\"\r\nC=2\r\n";
  text += "[3]\r\nb=Zur\xFC" "ck um 5\r\nc=x\r\n";
  text += "[4]\r\nc=1\r\n";
  text += "[5]\r\na=C:\\r\\n\r\n";
  writeFileBytes(path, text);

  vak::StatusModel m = filled("alt", true, 0);
  ASSERT_EQ(vak::loadStatusFile(path, m), vak::LoadResult::Loaded);
  EXPECT_EQ(m.entry(1).title, "Bin weg");
  EXPECT_EQ(m.entry(1).message, "Komme gleich wieder");
  EXPECT_TRUE(m.entry(1).active);
  EXPECT_EQ(m.entry(2).title, "Blanks");
  EXPECT_EQ(m.entry(2).message, "zitiert");
  EXPECT_FALSE(m.entry(2).active);
  EXPECT_EQ(m.entry(3).title, "");
  EXPECT_EQ(m.entry(3).message, "Zur\xFC" "ck um 5");
  EXPECT_FALSE(m.entry(3).active);
  EXPECT_EQ(m.entry(4).title, "");
  EXPECT_TRUE(m.entry(4).active);
  EXPECT_EQ(m.entry(5).title, "C:\\r\\n");  // backslashes of a plain value are no escapes
  EXPECT_EQ(m.entry(6).title, "");
  EXPECT_FALSE(m.entry(6).active);
}

TEST(StatusFile, SavingOverAFileKeepsItsOtherKeys) {
  const std::string path = freshDir("sf_over") + "\\1.icq";
  writeFileBytes(path,
                 "[Statusdatei]\r\n#DATE=8.12.2026\r\n#TIME=9:5:3\r\n#01=1\r\n[1]\r\na=alt\r\nb=alt\r\nc=1\r\n"
                 "[Fremd]\r\nk=v\r\n");
  vak::saveStatusFile(path, sampleSet("N"));
  const vak::IniFile ini(path);
  EXPECT_EQ(ini.readString("Statusdatei", "#DATE", ""), "8.12.2026");
  EXPECT_EQ(ini.readString("Statusdatei", "#TIME", ""), "9:5:3");
  EXPECT_EQ(ini.readString("Fremd", "k", ""), "v");
  vak::StatusModel m;
  ASSERT_EQ(vak::loadStatusFile(path, m), vak::LoadResult::Loaded);
  expectSameTexts(m, sampleSet("N"));
}

// A save reads its texts back: one the file would not give back is reported,
// not passed off as saved. Here a hand-edited file holds entry 1's escaped
// title twice; a write removes the first only, and the second would win.
TEST(StatusFile, ATextTheFileWouldNotGiveBackIsReported) {
  const std::string path = freshDir("sf_hidden") + "\\doppelt.icq";
  writeFileBytes(path, "[Statusdatei]\r\n#01=1\r\n[1]\r\nax=alt\r\nax=noch alt\r\n");
  try {
    vak::saveStatusFile(path, sampleSet("N"));
    ADD_FAILURE() << "no error";
  } catch (const vak::VakError& e) {
    EXPECT_EQ(std::string(e.what()), "In " + path + vak::T(" kann Eintrag 1 nicht vollständig gespeichert werden"));
  }
}
