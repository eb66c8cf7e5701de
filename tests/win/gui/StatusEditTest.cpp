// Editing the status set in the main window: in-place cell editing, the
// active check boxes, "Änderungen übernehmen", "Reset" and the editor dialog.
#include "GuiFixture.h"

using namespace vaktest;
namespace ids = vak::ids;
using vak::EditorDialog;
using vak::T;

namespace {

class StatusEdit : public GuiTest {
 protected:
  std::string entryKey(const std::string& uin, int n) const {
    return std::string(kRegOwners) + "\\" + uin + "\\CustomStatusList\\" + std::to_string(n);
  }
  std::string liteKey(const std::string& uin) const {
    return "HKLM\\Software\\Mirabilis\\ICQ\\NewOwners\\" + uin + "\\ICQLite";
  }
  std::string regAt(const std::string& key, const std::string& name) const {
    auto q = regQuery(key, name);
    return q ? q->type + " " + q->data : "<missing>";
  }
  HWND ed(int id) const { return form4_->control(id); }

  // Opens the editor with the edit button of entry n and runs drive inside it.
  void withEntryEditor(int n, const std::function<void()>& drive) {
    driveModal(editor(), [&] { clickEditButton(n); }, drive);
  }
  void withAwayEditor(int panelId, const std::function<void()>& drive) {
    driveModal(
        editor(),
        [&] {
          SendMessageW(mainWnd(), WM_COMMAND, MAKEWPARAM(panelId, STN_CLICKED),
                       reinterpret_cast<LPARAM>(ctl(panelId)));
        },
        drive);
  }
};

}  // namespace

TEST_F(StatusEdit, CellsAreEditedInPlace) {
  seedTwoProfiles();
  startApp();
  vak::Grid& g1 = form().status().grid(1);

  // Typing into a selected cell replaces its text; Enter takes it over.
  clickCell(g1, 3, 1);
  EXPECT_EQ(g1.selectedRow(), 3);
  EXPECT_EQ(g1.selectedCol(), 1);
  EXPECT_FALSE(g1.editing());
  typeText(g1, "Gr\xC3\xBC\xC3\x9F" "e");
  EXPECT_TRUE(g1.editing());
  EXPECT_EQ(title(3), seedTitle("111", 3));  // not yet taken over
  key(g1.editor(), VK_RETURN);
  EXPECT_FALSE(g1.editing());
  EXPECT_EQ(hex(title(3)), hex(T("Grüße")));
  EXPECT_EQ(hex(form().status().model().entry(3).title), hex(T("Grüße")));

  // Escape drops the typed text.
  clickCell(g1, 4, 2);
  typeText(g1, "weg damit");
  EXPECT_TRUE(g1.editing());
  key(g1.editor(), VK_ESCAPE);
  EXPECT_FALSE(g1.editing());
  EXPECT_EQ(message(4), seedMessage("111", 4));

  // Tab takes the text over and moves to the next cell, past column 2 to the next row.
  clickCell(g1, 5, 1);
  typeText(g1, "Titel fuenf");
  key(g1.editor(), VK_TAB);
  EXPECT_EQ(title(5), "Titel fuenf");
  EXPECT_EQ(g1.selectedRow(), 5);
  EXPECT_EQ(g1.selectedCol(), 2);
  typeText(g1, "Nachricht fuenf");
  key(g1.editor(), VK_TAB);
  EXPECT_EQ(message(5), "Nachricht fuenf");
  EXPECT_EQ(g1.selectedRow(), 6);
  EXPECT_EQ(g1.selectedCol(), 1);

  // A second click on the selected cell edits its current text.
  vak::Grid& g2 = form().status().grid(2);
  clickCell(g2, 1, 2);
  clickCell(g2, 1, 2);
  EXPECT_TRUE(g2.editing());
  EXPECT_EQ(text(g2.editor()), seedMessage("111", 17));
  key(g2.editor(), VK_END);
  SendMessageW(g2.editor(), WM_CHAR, L'!', 1);
  key(g2.editor(), VK_RETURN);
  EXPECT_EQ(message(17), seedMessage("111", 17) + "!");

  // The active check boxes are the entries' switches.
  clickBox(2);
  EXPECT_TRUE(boxChecked(2));
  EXPECT_TRUE(form().status().model().entry(2).active);
  clickBox(17);
  EXPECT_FALSE(boxChecked(17));
  EXPECT_FALSE(form().status().model().entry(17).active);

  // From the keyboard, Space in the table switches the selected row's entry
  // and leaves the focus in the table.
  clickCell(g2, 2, 1);
  const bool before = boxChecked(18);
  SendMessageW(g2.hwnd(), WM_CHAR, L' ', 1);
  EXPECT_EQ(boxChecked(18), !before);
  EXPECT_EQ(form().status().model().entry(18).active, !before);
  EXPECT_FALSE(g2.editing());
  EXPECT_EQ(GetFocus(), g2.hwnd());
  EXPECT_TRUE(ui_.boxes.empty());
}

TEST_F(StatusEdit, TakeOverWritesTheSetAndTakesABackup) {
  seedTwoProfiles();
  startApp();
  editCell(3, 1, "Gr\xC3\xBC\xC3\x9F" "e");
  editCell(20, 2, "unterwegs");
  clickBox(2);   // 0 -> 1
  clickBox(17);  // 1 -> 0
  withAwayEditor(ids::AwayEd, [&] {
    vak::setText(ed(EditorDialog::Memo2), T("zurück gleich"));
    click(ed(EditorDialog::OK));
  });
  EXPECT_EQ(text(ctl(ids::AwayEd)), T("zurück gleich"));

  click(ctl(ids::Button1));
  EXPECT_TRUE(ui_.boxes.empty());

  // Titles in UTF-8 form as strings, On and LineNumber as numbers.
  EXPECT_EQ(hex(regExportedString(entryKey("111", 3), "Name").value_or("<missing>")),
            hex("Gr\xC3\xBC\xC3\x9F" "e"));
  EXPECT_EQ(regAt(entryKey("111", 3), "Name").substr(0, 7), "REG_SZ ");
  EXPECT_EQ(regAt(entryKey("111", 20), "Description"), "REG_SZ unterwegs");
  EXPECT_EQ(regAt(entryKey("111", 20), "Name"), "REG_SZ " + seedTitle("111", 20));
  EXPECT_EQ(regAt(entryKey("111", 2), "On"), "REG_DWORD 0x1");
  EXPECT_EQ(regAt(entryKey("111", 17), "On"), "REG_DWORD 0x0");
  EXPECT_EQ(regAt(entryKey("111", 1), "On"), "REG_DWORD 0x1");
  EXPECT_EQ(regAt(entryKey("111", 20), "LineNumber"), "REG_DWORD 0x14");
  EXPECT_EQ(form().status().model().stateOf(2), 1);
  EXPECT_EQ(form().status().model().stateOf(17), 0);
  // The away texts as single-byte binaries without NUL.
  EXPECT_EQ(regAt(liteKey("111"), "AwayStatusText"), "REG_BINARY " + compactHex(T("zurück gleich")));
  EXPECT_EQ(regAt(liteKey("111"), "NAStatusText"), "REG_BINARY " + compactHex(seedNa("111")));
  // The other profile is untouched.
  EXPECT_EQ(regAt(entryKey("222", 20), "Description"), "REG_SZ " + seedMessage("222", 20));

  // Backup slot 1 holds the set just written.
  const vak::IniFile slot1(folder_ + "\\Backup\\1.icq");
  EXPECT_EQ(slot1.readString("Statusdatei", "#01", ""), "1");
  EXPECT_NE(slot1.readString("Statusdatei", "#DATE", ""), "");
  EXPECT_EQ(slot1.readString("20", "b", ""), "unterwegs");
  EXPECT_EQ(slot1.readString("3", "a", ""), T("Grüße"));
  EXPECT_EQ(slot1.readString("2", "c", ""), "1");
  EXPECT_EQ(slot1.readString("17", "c", ""), "0");
  EXPECT_EQ(GetFileAttributesA((folder_ + "\\Backup\\2.icq").c_str()), INVALID_FILE_ATTRIBUTES);

  // Reading the profile again shows what was written.
  chooseProfile(1);
  chooseProfile(0);
  EXPECT_EQ(hex(title(3)), hex(T("Grüße")));
  EXPECT_TRUE(boxChecked(2));
  EXPECT_FALSE(boxChecked(17));
  EXPECT_EQ(text(ctl(ids::AwayEd)), T("zurück gleich"));
}

TEST_F(StatusEdit, ResetAsksAndReadsAgainOnYes) {
  seedTwoProfiles();
  startApp();
  editCell(1, 1, "verworfen");
  clickBox(1);
  ui_.answers.push_back(vak::MbResNo);
  click(ctl(ids::Button2));
  ASSERT_EQ(ui_.boxes.size(), 1u);
  EXPECT_EQ(ui_.boxes[0].caption, "Frage");
  EXPECT_EQ(ui_.boxes[0].text, "Sollen die alten Einstellungen geladen werden?");
  EXPECT_EQ(ui_.boxes[0].buttons, vak::MbYesNo);
  EXPECT_EQ(ui_.boxes[0].icon, vak::MbIconQuestion);
  EXPECT_EQ(title(1), "verworfen");
  EXPECT_FALSE(boxChecked(1));

  ui_.answers.push_back(vak::MbResYes);
  click(ctl(ids::Button2));
  ASSERT_EQ(ui_.boxes.size(), 2u);
  EXPECT_EQ(title(1), seedTitle("111", 1));
  EXPECT_TRUE(boxChecked(1));
  EXPECT_EQ(form().shared().currentProfile, "111");
  // Nothing was written.
  EXPECT_EQ(regAt(entryKey("111", 1), "Name"), "REG_SZ " + seedTitle("111", 1));
}

TEST_F(StatusEdit, EditorOpensTheEntryOfItsButton) {
  seedTwoProfiles();
  startApp();
  withEntryEditor(17, [&] {
    EXPECT_EQ(text(editor().hwnd()), "Statusicon Nr. 17");
    EXPECT_EQ(text(ed(EditorDialog::Memo1)), seedTitle("111", 17));
    EXPECT_EQ(text(ed(EditorDialog::Memo2)), seedMessage("111", 17));
    EXPECT_TRUE(vak::isChecked(ed(EditorDialog::ON1)));
    EXPECT_TRUE(IsWindowVisible(ed(EditorDialog::ON1)));
    EXPECT_FALSE(IsWindowVisible(ed(EditorDialog::Label4)));
    EXPECT_FALSE(IsWindowVisible(ed(EditorDialog::Label3)));
    EXPECT_TRUE(IsWindowEnabled(ed(EditorDialog::Memo1)));
    EXPECT_FALSE(IsWindowEnabled(mainWnd()));
    click(ed(EditorDialog::Abbrechen));
  });
  EXPECT_TRUE(IsWindowEnabled(mainWnd()));
  EXPECT_EQ(form().status().currentEntry(), 17);

  withEntryEditor(16, [&] {
    EXPECT_EQ(text(editor().hwnd()), "Statusicon Nr. 16");
    EXPECT_EQ(text(ed(EditorDialog::Memo1)), seedTitle("111", 16));
    EXPECT_FALSE(vak::isChecked(ed(EditorDialog::ON1)));
    click(ed(EditorDialog::Abbrechen));
  });

  const std::string notice = T("Nur sichtbar für Nutzer der ICQ-Version 5.1\r\noder der Pro7 ICQ Version");
  for (int n : {31, 32}) {
    withEntryEditor(n, [&] {
      EXPECT_TRUE(IsWindowVisible(ed(EditorDialog::Label3))) << n;
      EXPECT_EQ(text(ed(EditorDialog::Label3)), notice) << n;
      click(ed(EditorDialog::Abbrechen));
    });
  }
  withEntryEditor(30, [&] {
    EXPECT_FALSE(IsWindowVisible(ed(EditorDialog::Label3)));
    click(ed(EditorDialog::Abbrechen));
  });
  EXPECT_TRUE(ui_.boxes.empty());
}

TEST_F(StatusEdit, EditorOkWritesBackCancelAndCloseDoNot) {
  seedTwoProfiles();
  startApp();
  // Cancel and the close box leave everything as it was.
  withEntryEditor(17, [&] {
    vak::setText(ed(EditorDialog::Memo1), "nicht");
    vak::setText(ed(EditorDialog::Memo2), "nicht");
    click(ed(EditorDialog::ON1));
    click(ed(EditorDialog::Abbrechen));
  });
  withEntryEditor(17, [&] {
    // Refilled at every showing: the cancelled edit left no trace.
    EXPECT_EQ(text(ed(EditorDialog::Memo1)), seedTitle("111", 17));
    vak::setText(ed(EditorDialog::Memo1), "nicht");
    click(ed(EditorDialog::ON1));
    SendMessageW(editor().hwnd(), WM_CLOSE, 0, 0);
  });
  EXPECT_EQ(title(17), seedTitle("111", 17));
  EXPECT_EQ(message(17), seedMessage("111", 17));
  EXPECT_TRUE(boxChecked(17));
  EXPECT_TRUE(form().status().model().entry(17).active);

  // OK takes title, message (with its line break) and the switch over.
  withEntryEditor(17, [&] {
    vak::setText(ed(EditorDialog::Memo1), T("Schön"));
    vak::setText(ed(EditorDialog::Memo2), "Zeile 1\r\nZeile 2");
    click(ed(EditorDialog::ON1));
    EXPECT_FALSE(vak::isChecked(ed(EditorDialog::ON1)));
    click(ed(EditorDialog::OK));
  });
  EXPECT_EQ(form().status().grid(2).cell(1, 1), T("Schön"));
  EXPECT_EQ(form().status().grid(2).cell(1, 2), "Zeile 1\r\nZeile 2");
  EXPECT_FALSE(boxChecked(17));
  EXPECT_FALSE(form().status().model().entry(17).active);
  // The state list keeps its value until the set is written.
  EXPECT_EQ(form().status().model().stateOf(17), 1);
  EXPECT_EQ(title(1), seedTitle("111", 1));

  // Empty fields empty the cells; switching on checks the box.
  withEntryEditor(2, [&] {
    vak::setText(ed(EditorDialog::Memo1), "");
    vak::setText(ed(EditorDialog::Memo2), "");
    click(ed(EditorDialog::ON1));
    click(ed(EditorDialog::OK));
  });
  EXPECT_EQ(title(2), "");
  EXPECT_EQ(message(2), "");
  EXPECT_TRUE(boxChecked(2));

  click(ctl(ids::Button1));
  EXPECT_EQ(regAt(entryKey("111", 17), "On"), "REG_DWORD 0x0");
  EXPECT_EQ(regAt(entryKey("111", 2), "On"), "REG_DWORD 0x1");
  EXPECT_EQ(regAt(entryKey("111", 2), "Name"), "REG_SZ ");
  EXPECT_TRUE(ui_.boxes.empty());
}

TEST_F(StatusEdit, EditorForTheAwayTexts) {
  seedTwoProfiles();
  startApp();
  withAwayEditor(ids::AwayEd, [&] {
    EXPECT_EQ(text(ed(EditorDialog::Memo1)), "~ ist abwesend.");
    EXPECT_FALSE(IsWindowEnabled(ed(EditorDialog::Memo1)));
    EXPECT_EQ(text(ed(EditorDialog::Memo2)), seedAway("111"));
    EXPECT_TRUE(IsWindowVisible(ed(EditorDialog::Label4)));
    EXPECT_FALSE(IsWindowVisible(ed(EditorDialog::ON1)));
    EXPECT_FALSE(IsWindowVisible(ed(EditorDialog::Label3)));
    vak::setText(ed(EditorDialog::Memo2), "Mittagspause");
    click(ed(EditorDialog::OK));
  });
  EXPECT_EQ(form().status().currentEntry(), 33);
  EXPECT_EQ(text(ctl(ids::AwayEd)), "Mittagspause");
  EXPECT_EQ(text(ctl(ids::NaEd)), seedNa("111"));
  // Only the panel changed: no cell and no check box.
  EXPECT_EQ(title(1), seedTitle("111", 1));
  EXPECT_TRUE(boxChecked(1));

  withAwayEditor(ids::NaEd, [&] {
    EXPECT_EQ(text(ed(EditorDialog::Memo1)), T("~ ist nicht verfügbar."));
    EXPECT_EQ(text(ed(EditorDialog::Memo2)), seedNa("111"));
    vak::setText(ed(EditorDialog::Memo2), "nie");
    click(ed(EditorDialog::Abbrechen));
  });
  EXPECT_EQ(text(ctl(ids::NaEd)), seedNa("111"));

  // An away text typed in ICQ's UTF-8 form is stored as the single letter.
  withAwayEditor(ids::AwayEd, [&] {
    vak::setText(ed(EditorDialog::Memo2), "\xC3\xA4 und \xFC");
    click(ed(EditorDialog::OK));
  });
  click(ctl(ids::Button1));
  EXPECT_EQ(regAt(liteKey("111"), "AwayStatusText"), "REG_BINARY E420756E6420FC");
  EXPECT_EQ(regAt(liteKey("111"), "NAStatusText"), "REG_BINARY " + compactHex(seedNa("111")));

  // An entry opened after a panel has its title field and switch back.
  withEntryEditor(1, [&] {
    EXPECT_TRUE(IsWindowEnabled(ed(EditorDialog::Memo1)));
    EXPECT_TRUE(IsWindowVisible(ed(EditorDialog::ON1)));
    EXPECT_FALSE(IsWindowVisible(ed(EditorDialog::Label4)));
    EXPECT_EQ(text(ed(EditorDialog::Memo1)), seedTitle("111", 1));
    click(ed(EditorDialog::Abbrechen));
  });
  EXPECT_TRUE(ui_.boxes.empty());
}
