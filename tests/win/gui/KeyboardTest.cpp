// The program used from the keyboard alone: real key presses through the
// program's message loop (focus, tab pages, the editor dialog, the tables,
// menus and message boxes).
#include <algorithm>

#include "GuiFixture.h"
#include "Keyboard.h"

using namespace vaktest;
namespace ids = vak::ids;
using vak::EditorDialog;
using vak::T;

namespace {

class Keyboard : public GuiTest {
 protected:
  // Starts the program in front; a hanging loop ends the run from then on.
  void start() {
    startApp();
    ASSERT_TRUE(bringToFront(mainWnd())) << "the main window does not come to the front";
    guard_ = std::make_unique<HangGuard>(mainWnd());
  }
  void TearDown() override {
    guard_.reset();
    GuiTest::TearDown();
  }
  std::unique_ptr<HangGuard> guard_;
  HWND ed(int id) const { return form4_->control(id); }
  // At the end of keys that should have closed the editor: a failure when
  // they did not, and the editor closed so the test goes on.
  void expectEditorClosed() {
    if (!editor().isModal()) return;
    ADD_FAILURE() << "the keys left the editor open";
    SendMessageW(editor().hwnd(), WM_CLOSE, 0, 0);
  }
  HWND focus() const { return GetFocus(); }
  // The page (0..2) that holds the focus, -1 when the focus is on none.
  int focusPage() const {
    for (int i = 0; i < 3; ++i)
      if (IsChild(page(i), GetFocus())) return i;
    return -1;
  }
  bool unchanged(const std::string& uin = "111") {
    for (int n = 1; n <= vak::kEntryCount; ++n)
      if (title(n) != seedTitle(uin, n) || message(n) != seedMessage(uin, n)) {
        ADD_FAILURE() << "entry " << n << " changed: " << title(n) << " / " << message(n);
        return false;
      }
    return true;
  }
};

}  // namespace

// Editor opened and closed from a "Bearbeiten" button, Ctrl+Tab to the next
// page, then Space and letters: the window keeps answering, the focus is on
// the page that shows, and nothing on the hidden table changed.
TEST_F(Keyboard, TabSwitchAfterTheEditorNeitherHangsNorTypesIntoHiddenPages) {
  seedTwoProfiles();
  start();
  form().status().focusEditButton(3);
  {
    WhenModal closeEditor([] { queueKey(VK_ESCAPE); });
    pressKey(VK_SPACE);
    EXPECT_TRUE(closeEditor.ran()) << "the editor did not open";
  }
  EXPECT_FALSE(IsWindowVisible(editor().hwnd()));
  EXPECT_TRUE(form().status().editButtonFocused(3)) << "the focus does not come back to the button";

  pressKey(VK_TAB, {VK_CONTROL});
  EXPECT_EQ(form().activePage(), 1);
  EXPECT_TRUE(vak::canTakeFocus(focus()));
  EXPECT_EQ(focusPage(), 1);
  pressKey(VK_SPACE);
  typeKeys(L"xyz q");
  EXPECT_TRUE(answers(mainWnd()));

  pressKey(VK_TAB, {VK_CONTROL});
  EXPECT_EQ(form().activePage(), 2);
  EXPECT_EQ(focusPage(), 2);
  typeKeys(L"abc ");
  pressKey(VK_TAB, {VK_CONTROL, VK_SHIFT});
  EXPECT_EQ(form().activePage(), 1);
  EXPECT_EQ(focusPage(), 1);
  EXPECT_TRUE(answers(mainWnd()));

  // The table of the first page got none of the keys.
  EXPECT_FALSE(form().status().grid(1).editing());
  EXPECT_TRUE(unchanged());
  click(ctl(ids::Button1));
  EXPECT_EQ(regQuery(std::string(kRegOwners) + "\\111\\CustomStatusList\\3", "Name")->data, seedTitle("111", 3));
  EXPECT_TRUE(ui_.boxes.empty());
}

// A key for a control whose page was hidden behind its back goes nowhere and
// brings the focus to a control that can be seen.
TEST_F(Keyboard, KeysForAHiddenControlChangeNothing) {
  seedTwoProfiles();
  start();
  vak::Grid& g1 = form().status().grid(1);
  SetFocus(g1.hwnd());
  ShowWindow(page(0), SW_HIDE);
  ShowWindow(page(1), SW_SHOW);
  typeKeys(L"abc");
  EXPECT_TRUE(answers(mainWnd()));
  EXPECT_FALSE(g1.editing());
  EXPECT_TRUE(unchanged());
  EXPECT_TRUE(vak::canTakeFocus(focus()));
}

// Tab and Shift+Tab visit the controls of the main window and of the shown
// page only, in their order, and come round again.
TEST_F(Keyboard, TabVisitsOnlyTheShownPage) {
  seedTwoProfiles();
  start();
  // The focus windows from the profile box round to it again (a table keeps
  // the focus while Tab walks its cells: counted once).
  auto walk = [&](int pageIndex, bool back) {
    SetFocus(ctl(ids::NN));
    std::vector<HWND> seen{ctl(ids::NN)};
    for (int i = 0; i < 300; ++i) {
      pressKey(VK_TAB, back ? std::initializer_list<WORD>{VK_SHIFT} : std::initializer_list<WORD>{});
      HWND f = focus();
      EXPECT_TRUE(vak::canTakeFocus(f)) << "page " << pageIndex << " step " << i;
      const int onPage = focusPage();
      EXPECT_TRUE(onPage == -1 || onPage == pageIndex) << "page " << pageIndex << " step " << i;
      if (f == seen.front()) break;
      if (f != seen.back()) seen.push_back(f);
    }
    return seen;
  };
  for (int pageIndex = 0; pageIndex < 3; ++pageIndex) {
    if (pageIndex > 0) pressKey(VK_TAB, {VK_CONTROL});
    ASSERT_EQ(form().activePage(), pageIndex);
    const std::vector<HWND> forward = walk(pageIndex, false);
    std::vector<HWND> backward = walk(pageIndex, true);
    std::reverse(backward.begin() + 1, backward.end());
    EXPECT_EQ(backward, forward) << "page " << pageIndex;

    auto visits = [&](HWND h) { return std::find(forward.begin(), forward.end(), h) != forward.end(); };
    // The profile box, then the two panels.
    ASSERT_GE(forward.size(), 3u);
    EXPECT_EQ(forward[1], ctl(ids::AwayEd));
    EXPECT_EQ(forward[2], ctl(ids::NaEd));
    EXPECT_TRUE(visits(ctl(ids::Button1)));
    EXPECT_TRUE(visits(ctl(ids::Button2)));
    EXPECT_TRUE(visits(ctl(ids::PageControl1)));
    if (pageIndex == 0) {
      EXPECT_TRUE(visits(form().status().grid(1).hwnd()));
      EXPECT_TRUE(visits(form().status().grid(2).hwnd()));
      EXPECT_TRUE(visits(form().status().editButtons(1).hwnd()));
      EXPECT_TRUE(visits(form().status().editButtons(2).hwnd()));
    } else {
      EXPECT_FALSE(visits(form().status().editButtons(1).hwnd()));
    }
    if (pageIndex == 2) {
      EXPECT_TRUE(visits(ctl(ids::Button7)));
    }
  }
}

// A mnemonic of a control on a hidden page does nothing; on the shown page it clicks.
TEST_F(Keyboard, MnemonicsReachOnlyTheShownPage) {
  seedTwoProfiles();
  start();
  constexpr int kProbe = 9990;
  vak::makeButton(page(1), kProbe, "&Qualle", 300, 300, 80, 23);
  int clicks = 0;
  form().tweaks().onCommand(kProbe, [&] { ++clicks; });
  SetFocus(ctl(ids::NN));
  pressKey('Q', {VK_MENU});
  EXPECT_EQ(clicks, 0);
  EXPECT_TRUE(answers(mainWnd()));
  pressKey(VK_TAB, {VK_CONTROL});
  pressKey('Q', {VK_MENU});
  EXPECT_EQ(clicks, 1);
}

// The editor is finished from the keyboard: Enter in the title goes on to the
// message, Enter there breaks the line, Tab leaves the field, Enter on OK
// takes over; Alt+A cancels, Alt+O takes over.
TEST_F(Keyboard, EditorIsConfirmedAndCancelledByKeys) {
  seedTwoProfiles();
  start();
  form().status().focusEditButton(5);
  HWND fieldAfterEnter = nullptr, fieldAfterTab = nullptr, focusOnOk = nullptr;
  {
    WhenModal drive([&] {
      EXPECT_EQ(GetFocus(), ed(EditorDialog::Memo1));
      SendMessageW(ed(EditorDialog::Memo1), EM_SETSEL, 0, -1);
      typeKeys(L"Neuer Titel");
      pressKey(VK_RETURN);
      fieldAfterEnter = GetFocus();
      SendMessageW(ed(EditorDialog::Memo2), EM_SETSEL, 0, -1);
      typeKeys(L"Zeile 1");
      pressKey(VK_RETURN);
      typeKeys(L"Zeile 2");
      pressKey(VK_TAB);
      fieldAfterTab = GetFocus();
      pressKey(VK_SPACE);  // the switch: entry 5 off
      pressKey(VK_TAB);
      focusOnOk = GetFocus();
      pressKey(VK_RETURN);
      expectEditorClosed();
    });
    pressKey(VK_SPACE);
    ASSERT_TRUE(drive.ran());
  }
  EXPECT_EQ(fieldAfterEnter, ed(EditorDialog::Memo2));
  EXPECT_EQ(fieldAfterTab, ed(EditorDialog::ON1));
  EXPECT_EQ(focusOnOk, ed(EditorDialog::OK));
  EXPECT_FALSE(editor().isModal());
  EXPECT_EQ(title(5), "Neuer Titel");
  EXPECT_EQ(message(5), "Zeile 1\r\nZeile 2");
  EXPECT_FALSE(boxChecked(5));

  // Shift+Tab leaves the message field backwards; Alt+A cancels.
  HWND back = nullptr;
  {
    WhenModal drive([&] {
      pressKey(VK_TAB);  // title -> message
      typeKeys(L"verworfen");
      pressKey(VK_TAB, {VK_SHIFT});
      back = GetFocus();
      pressKey('A', {VK_MENU});
      expectEditorClosed();
    });
    pressKey(VK_SPACE);
    ASSERT_TRUE(drive.ran());
  }
  EXPECT_EQ(back, ed(EditorDialog::Memo1));
  EXPECT_FALSE(editor().isModal());
  EXPECT_EQ(message(5), "Zeile 1\r\nZeile 2");

  // Alt+O takes over from inside a field; Ctrl+Enter breaks a title's line.
  {
    WhenModal drive([&] {
      SendMessageW(ed(EditorDialog::Memo1), EM_SETSEL, 0, -1);
      typeKeys(L"A");
      pressKey(VK_RETURN, {VK_CONTROL});
      typeKeys(L"B");
      pressKey('O', {VK_MENU});
      expectEditorClosed();
    });
    pressKey(VK_SPACE);
    ASSERT_TRUE(drive.ran());
  }
  EXPECT_FALSE(editor().isModal());
  EXPECT_EQ(title(5), "A\r\nB");
  EXPECT_TRUE(form().status().editButtonFocused(5));
  EXPECT_TRUE(ui_.boxes.empty());
}

// The "Bearbeiten" buttons after the tables: Tab and Shift+Tab walk them one by
// one, the arrows, Home and End move between them, Enter and Space open the
// editor for the entry of the button, and the focus comes back to it.
TEST_F(Keyboard, EditButtonsAreWalkedAndPressedByKeys) {
  seedTwoProfiles();
  start();
  vak::Grid& g2 = form().status().grid(2);
  SetFocus(g2.hwnd());
  g2.select(g2.lastRow(), 2);
  pressKey(VK_TAB);
  EXPECT_TRUE(form().status().editButtonFocused(1)) << "Tab from the last cell does not reach the first button";
  pressKey(VK_TAB, {VK_SHIFT});
  EXPECT_EQ(focus(), g2.hwnd());
  pressKey(VK_TAB);
  for (int i = 0; i < 15; ++i) pressKey(VK_TAB);
  EXPECT_TRUE(form().status().editButtonFocused(16));
  pressKey(VK_TAB);
  EXPECT_TRUE(form().status().editButtonFocused(17));
  pressKey(VK_TAB, {VK_SHIFT});
  EXPECT_TRUE(form().status().editButtonFocused(16));
  pressKey(VK_UP);
  pressKey(VK_UP);
  EXPECT_TRUE(form().status().editButtonFocused(14));
  pressKey(VK_HOME);
  EXPECT_TRUE(form().status().editButtonFocused(1));
  pressKey(VK_UP);
  EXPECT_TRUE(form().status().editButtonFocused(1));
  pressKey(VK_END);
  EXPECT_TRUE(form().status().editButtonFocused(16));

  // Enter and Space open the editor with the entry of the current button.
  form().status().focusEditButton(20);
  for (WORD key : {WORD{VK_RETURN}, WORD{VK_SPACE}}) {
    std::string shown;
    {
      WhenModal drive([&] {
        shown = text(ed(EditorDialog::Memo1));
        pressKey(VK_ESCAPE);
        expectEditorClosed();
      });
      pressKey(key);
      ASSERT_TRUE(drive.ran()) << "key " << key;
    }
    EXPECT_EQ(shown, seedTitle("111", 20)) << "key " << key;
    EXPECT_TRUE(form().status().editButtonFocused(20)) << "key " << key;
  }
  EXPECT_EQ(title(20), seedTitle("111", 20));
  EXPECT_TRUE(answers(mainWnd()));
  EXPECT_TRUE(ui_.boxes.empty());
}

// Older ICQ Lite: the buttons of entries 30-32 are not shown, and no key reaches them.
TEST_F(Keyboard, HiddenEditButtonsAreSkipped) {
  seedTwoProfiles();
  setLiteVersion("2049");
  start();
  form().status().focusEditButton(17);
  pressKey(VK_END);
  EXPECT_TRUE(form().status().editButtonFocused(29));
  pressKey(VK_DOWN);
  EXPECT_TRUE(form().status().editButtonFocused(29));
  pressKey(VK_TAB);
  EXPECT_NE(focus(), form().status().editButtons(2).hwnd()) << "Tab past entry 29 stays in the column";
  pressKey(VK_TAB, {VK_SHIFT});
  EXPECT_TRUE(form().status().editButtonFocused(29)) << "Shift+Tab into the column does not come to its last shown button";
}

// The away and not-available panels: reached by Tab, opened by Enter or Space.
TEST_F(Keyboard, PanelsOpenTheEditorFromTheKeyboard) {
  seedTwoProfiles();
  start();
  SetFocus(ctl(ids::NN));
  pressKey(VK_TAB);
  ASSERT_EQ(focus(), ctl(ids::AwayEd));
  {
    WhenModal drive([&] {
      EXPECT_EQ(GetFocus(), ed(EditorDialog::Memo2));
      SendMessageW(ed(EditorDialog::Memo2), EM_SETSEL, 0, -1);
      typeKeys(L"Mittag");
      pressKey('O', {VK_MENU});
      expectEditorClosed();
    });
    pressKey(VK_RETURN);
    ASSERT_TRUE(drive.ran());
  }
  EXPECT_EQ(text(ctl(ids::AwayEd)), "Mittag");
  EXPECT_EQ(focus(), ctl(ids::AwayEd));

  pressKey(VK_TAB);
  ASSERT_EQ(focus(), ctl(ids::NaEd));
  int opened = 0;
  {
    WhenModal drive([&] {
      ++opened;
      EXPECT_EQ(form().status().currentEntry(), 34);
      pressKey(VK_ESCAPE);
      expectEditorClosed();
    });
    pressKey(VK_SPACE);
    ASSERT_TRUE(drive.ran());
  }
  EXPECT_EQ(opened, 1);
  EXPECT_EQ(text(ctl(ids::NaEd)), seedNa("111"));
}

// In a cell: F2 puts the caret at the end, Ctrl+Enter a line break; a cell
// with a line break shows all its lines and takes more text.
TEST_F(Keyboard, CellEditorTakesLineBreaks) {
  seedTwoProfiles();
  start();
  vak::Grid& g1 = form().status().grid(1);
  SetFocus(g1.hwnd());
  g1.select(2, 2);
  pressKey(VK_F2);
  ASSERT_TRUE(g1.editing());
  DWORD from = 0, to = 0;
  SendMessageW(g1.editor(), EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
  const auto length = static_cast<DWORD>(seedMessage("111", 2).size());
  EXPECT_EQ(from, length);
  EXPECT_EQ(to, length);
  typeKeys(L"X");
  pressKey(VK_RETURN, {VK_CONTROL});
  typeKeys(L"Y");
  pressKey(VK_RETURN);
  EXPECT_FALSE(g1.editing());
  EXPECT_EQ(message(2), seedMessage("111", 2) + "X\r\nY");

  // Again: both lines show, and typing goes on at the end.
  pressKey(VK_F2);
  ASSERT_TRUE(g1.editing());
  RECT rc{};
  GetClientRect(g1.editor(), &rc);
  const int last = GetWindowTextLengthW(g1.editor()) - 1;
  const auto lastChar = static_cast<DWORD>(SendMessageW(g1.editor(), EM_POSFROMCHAR, static_cast<WPARAM>(last), 0));
  EXPECT_EQ(SendMessageW(g1.editor(), EM_GETFIRSTVISIBLELINE, 0, 0), 0) << "the first line is out of sight";
  EXPECT_GT(static_cast<short>(HIWORD(lastChar)), 2) << "both lines in one row";
  EXPECT_LE(static_cast<short>(HIWORD(lastChar)) + 8, rc.bottom) << "the last line is cut off";
  typeKeys(L"Z");
  pressKey(VK_RETURN, {VK_CONTROL});
  typeKeys(L"3");
  pressKey(VK_RETURN);
  EXPECT_EQ(message(2), seedMessage("111", 2) + "X\r\nYZ\r\n3");
}

// With ICQ Lite below 2050 the rows of entries 30-32 cannot be reached.
TEST_F(Keyboard, HiddenRowsCannotBeReachedOrChanged) {
  seedTwoProfiles();
  setLiteVersion("2049");
  start();
  vak::Grid& g2 = form().status().grid(2);
  SetFocus(g2.hwnd());
  g2.select(1, 1);
  for (int i = 0; i < 20; ++i) pressKey(VK_DOWN);
  EXPECT_EQ(g2.selectedRow(), 13);
  pressKey(VK_NEXT);
  EXPECT_EQ(g2.selectedRow(), 13);
  typeKeys(L"Q");
  pressKey(VK_RETURN);
  EXPECT_EQ(title(29), "Q");
  // Tab from the last shown cell leaves the table.
  pressKey(VK_RIGHT);
  pressKey(VK_TAB);
  EXPECT_NE(focus(), g2.hwnd());
  for (int n = 30; n <= 32; ++n) {
    EXPECT_EQ(title(n), seedTitle("111", n)) << n;
    EXPECT_EQ(message(n), seedMessage("111", n)) << n;
  }
  g2.select(14, 1);
  EXPECT_EQ(g2.selectedRow(), 13);
}

// Alt alone, F10 and Alt+letter open the menu, also from the profile box;
// "Datei" -> "Einstellungen" shows the settings tab with the focus on it;
// Escape closes the restore dialog.
TEST_F(Keyboard, MenuFromTheKeyboard) {
  seedTwoProfiles();
  start();
  SetFocus(ctl(ids::NN));
  const int profile = vak::comboSelected(ctl(ids::NN));

  queueKey(VK_MENU);
  queueKey(VK_DOWN);
  queueKey('E');
  pumpInput();
  EXPECT_EQ(form().activePage(), 2) << "Alt did not open the menu";
  EXPECT_EQ(focusPage(), 2);

  form().setActivePage(0);
  SetFocus(ctl(ids::NN));
  queueKey(VK_F10);
  queueKey('D');
  queueKey('E');
  pumpInput();
  EXPECT_EQ(form().activePage(), 2) << "F10 did not open the menu";

  form().setActivePage(0);
  SetFocus(ctl(ids::NN));
  queueKey('D', {VK_MENU});
  queueKey('E');
  pumpInput();
  EXPECT_EQ(form().activePage(), 2) << "Alt+D did not open the menu";
  EXPECT_EQ(vak::comboSelected(ctl(ids::NN)), profile);

  int shown = 0;
  {
    WhenModal drive([&] {
      ++shown;
      EXPECT_TRUE(restore().isModal());
      pressKey(VK_ESCAPE);
      if (restore().isModal()) {
        ADD_FAILURE() << "Escape left the restore dialog open";
        SendMessageW(restore().hwnd(), WM_CLOSE, 0, 0);
      }
    });
    queueKey('D', {VK_MENU});
    queueKey('R');
    pumpInput();
    ASSERT_TRUE(drive.ran());
  }
  EXPECT_EQ(shown, 1);
  EXPECT_FALSE(restore().isModal());
  EXPECT_TRUE(IsWindowEnabled(mainWnd()));
  EXPECT_TRUE(answers(mainWnd()));
}

namespace {

// Answers the next message boxes of this thread with the given buttons
// (read from a thread timer inside their modal loops) and notes the other
// windows that are activated (a file dialog): their owner, then cancels them.
struct BoxAnswerer {
  static BoxAnswerer* current;
  HHOOK hook = nullptr;
  std::vector<int> answers;
  int boxes = 0;
  HWND pending = nullptr;
  HWND fileDialog = nullptr;
  HWND fileDialogOwner = nullptr;
  bool ownerDisabled = false;

  explicit BoxAnswerer(std::vector<int> a) : answers(std::move(a)) {
    current = this;
    hook = SetWindowsHookExW(WH_CBT, cbt, nullptr, GetCurrentThreadId());
  }
  ~BoxAnswerer() {
    UnhookWindowsHookEx(hook);
    current = nullptr;
  }
  static LRESULT CALLBACK cbt(int code, WPARAM wp, LPARAM lp) {
    if (code == HCBT_ACTIVATE && current) {
      HWND w = reinterpret_cast<HWND>(wp);
      wchar_t cls[32] = {};
      GetClassNameW(w, cls, 32);
      if (lstrcmpW(cls, L"#32770") == 0 && w != current->pending && w != current->fileDialog) {
        current->pending = w;
        SetTimer(nullptr, 0, 50, timer);
      }
    }
    return CallNextHookEx(nullptr, code, wp, lp);
  }
  static void CALLBACK timer(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    if (!current || !current->pending) return;
    HWND w = current->pending;
    if (current->boxes < static_cast<int>(current->answers.size())) {
      PostMessageW(w, WM_COMMAND, static_cast<WPARAM>(current->answers[static_cast<size_t>(current->boxes)]), 0);
      ++current->boxes;
    } else {
      current->fileDialog = w;
      current->fileDialogOwner = GetWindow(w, GW_OWNER);
      current->ownerDisabled = current->fileDialogOwner && !IsWindowEnabled(current->fileDialogOwner);
      PostMessageW(w, WM_COMMAND, IDCANCEL, 0);
    }
  }
};
BoxAnswerer* BoxAnswerer::current = nullptr;

// The real message boxes and file dialogs instead of the scripted ones.
struct RealUiScope {
  RealUiScope() : previous(vak::setUi(nullptr)) {}
  ~RealUiScope() { vak::setUi(previous); }
  vak::UiSeam* previous;
};

}  // namespace

// After a message box is answered the window that had it is active again,
// with the focus where it was, so keys go on working.
TEST_F(Keyboard, FocusComesBackAfterAMessageBox) {
  seedTwoProfiles();
  start();
  RealUiScope real;
  SetFocus(ctl(ids::Button2));
  {
    BoxAnswerer answer({IDNO});
    pressKey(VK_SPACE);  // "Reset" asks first
    EXPECT_EQ(answer.boxes, 1);
  }
  EXPECT_EQ(GetActiveWindow(), mainWnd());
  EXPECT_EQ(GetForegroundWindow(), mainWnd());
  EXPECT_EQ(focus(), ctl(ids::Button2));
  pressKey(VK_TAB, {VK_SHIFT});
  EXPECT_EQ(focus(), ctl(ids::Button1));
}

// "Laden": after the question the file dialog opens owned by the main
// window, which takes no input meanwhile.
TEST_F(Keyboard, LoadDialogIsOwnedByTheMainWindow) {
  seedTwoProfiles();
  start();
  RealUiScope real;
  BoxAnswerer answer({IDNO});
  queueKey('D', {VK_MENU});
  queueKey('L');
  pumpInput();
  EXPECT_EQ(answer.boxes, 1);
  ASSERT_NE(answer.fileDialog, nullptr) << "no file dialog";
  EXPECT_EQ(answer.fileDialogOwner, mainWnd());
  EXPECT_TRUE(answer.ownerDisabled);
  EXPECT_TRUE(IsWindowEnabled(mainWnd()));
  EXPECT_EQ(GetActiveWindow(), mainWnd());
  EXPECT_TRUE(unchanged());
}

namespace {
// Whether the control's text fits into it with the control's font.
::testing::AssertionResult textFits(HWND control, int margin) {
  RECT client{};
  GetClientRect(control, &client);
  std::wstring text = vak::widen(vak::getText(control));
  HDC dc = GetDC(control);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
  RECT need{0, 0, client.right - 2 * margin, 0};
  DrawTextW(dc, text.c_str(), -1, &need, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS);
  SelectObject(dc, old);
  ReleaseDC(control, dc);
  const int width = client.right - 2 * margin, height = client.bottom;
  if (need.right <= width && need.bottom <= height) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "text needs " << need.right << " x " << need.bottom << ", has " << width
                                       << " x " << height;
}
}  // namespace

TEST_F(Keyboard, TextsFitTheirControls) {
  seedTwoProfiles();
  setLiteVersion("2049");
  start();
  EXPECT_TRUE(textFits(ctl(ids::Warnung), 0));
  EXPECT_TRUE(textFits(ctl(ids::Button1), vak::dpiScale(mainWnd(), 6)));
  RECT b1{}, b2{};
  GetWindowRect(ctl(ids::Button1), &b1);
  GetWindowRect(ctl(ids::Button2), &b2);
  EXPECT_LE(b1.right, b2.left) << "the buttons overlap";
  WhenModal check([&] {
    EXPECT_TRUE(IsWindowVisible(ed(EditorDialog::Label3)));
    EXPECT_TRUE(textFits(ed(EditorDialog::Label3), 0));
    RECT label{}, ok{};
    GetWindowRect(ed(EditorDialog::Label3), &label);
    GetWindowRect(ed(EditorDialog::OK), &ok);
    EXPECT_LE(label.bottom, ok.top);
    pressKey(VK_ESCAPE);
    expectEditorClosed();
  });
  bringToFront(mainWnd());
  // Entry 31's button is hidden with this ICQ Lite; the editor opens all the same.
  form().status().BearbeitenClick(31);
  EXPECT_TRUE(check.ran());
}
