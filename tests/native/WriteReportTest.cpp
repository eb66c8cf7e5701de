#include "status/WriteReport.h"

#include <gtest/gtest.h>

#include "platform/Text.h"

namespace vak {
namespace {

bool has(const std::string& text, const char* utf8) { return text.find(T(utf8)) != std::string::npos; }

TEST(WriteReport, TellsWhatWasNotWrittenAndWhetherItWasBackedUp) {
  StatusWriteReport report;
  EXPECT_TRUE(report.complete());

  report.awayFailed = true;
  report.awayDenied = true;
  EXPECT_FALSE(report.complete());
  EXPECT_TRUE(report.entriesComplete());
  std::string text = statusWriteFailureText(report, "111", true);
  EXPECT_TRUE(has(text, "Profil 111")) << text;
  EXPECT_TRUE(has(text, "NewOwners\\111\\ICQLite: Zugriff verweigert")) << text;
  EXPECT_TRUE(has(text, "Als Administrator ausführen")) << text;
  EXPECT_TRUE(has(text, "Die geschriebenen Statusmeldungen wurden gesichert.")) << text;
  EXPECT_FALSE(has(text, "Statusmeldung Nr.")) << text;

  // Refused for another reason: no advice about rights.
  report.awayDenied = false;
  EXPECT_FALSE(has(statusWriteFailureText(report, "111", true), "Administrator"));

  report = StatusWriteReport{};
  report.failedEntries = {5};
  EXPECT_FALSE(report.entriesComplete());
  text = statusWriteFailureText(report, "42", false);
  EXPECT_TRUE(has(text, "- Statusmeldung Nr. 5 unter HKEY_CURRENT_USER\\Software\\Mirabilis\\ICQ\\NewOwners\\42\\"
                        "CustomStatusList"))
      << text;
  EXPECT_TRUE(has(text, "Es wurde keine Sicherung angelegt.")) << text;
  EXPECT_FALSE(has(text, "Abwesenheitstexte")) << text;
  report.failedEntries = {1, 17, 32};
  EXPECT_TRUE(has(statusWriteFailureText(report, "42", false), "Statusmeldungen Nr. 1, 17, 32 unter"));
}

TEST(WriteReport, RefusedTakeOverNamesTheProfileOrSaysNoneWasRead) {
  EXPECT_EQ(incompleteReadText("222").rfind(T("Es wurde nichts geschrieben: Das Profil 222 "), 0), 0u);
  EXPECT_TRUE(has(incompleteReadText("222"), "(\"Reset\")"));
  EXPECT_EQ(incompleteReadText("").rfind(T("Es wurde nichts geschrieben: Noch ist kein ICQ-Profil"), 0), 0u);
}

}  // namespace
}  // namespace vak
