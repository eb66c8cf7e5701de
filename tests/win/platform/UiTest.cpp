// The error display, the seam and the text conversions of the windows.
#include <windows.h>

#include <gtest/gtest.h>

#include <new>

#include "TestSupport.h"
#include "platform/Errors.h"
#include "platform/Path.h"
#include "platform/Text.h"
#include "platform/Ui.h"
#include "platform/WinText.h"

using namespace vak;

TEST(RunHandler, ShowsTheErrorAndGoesOn) {
  vaktest::ScriptedUi ui;
  int done = 0;
  runHandler([&] {
    ++done;
    throw VakError(errNotInteger("zw\xF6lf"));
  });
  runHandler([&] { ++done; });
  EXPECT_EQ(done, 2);  // work before the error stays, the next handler runs
  ASSERT_EQ(ui.boxes.size(), 1u);
  EXPECT_EQ(ui.boxes[0].caption, "ICQMeldewart");
  EXPECT_EQ(ui.boxes[0].text, T("'zwölf' ist kein gültiger Integerwert"));
  EXPECT_EQ(ui.boxes[0].buttons, unsigned(MbOk));
  EXPECT_EQ(ui.boxes[0].icon, unsigned(MbIconError));

  runHandler([] { throw std::out_of_range("index"); });
  runHandler([] { throw 42; });
  runHandler([] { throw std::bad_alloc(); });
  ASSERT_EQ(ui.boxes.size(), 4u);
  EXPECT_EQ(ui.boxes[1].text, "index");
  EXPECT_FALSE(ui.boxes[2].text.empty());
  EXPECT_EQ(ui.boxes[2].icon, unsigned(MbIconError));
  EXPECT_EQ(ui.boxes[3].text, T("Nicht genug Arbeitsspeicher. Der Vorgang wurde abgebrochen."));
}

TEST(UiSeamTest, ScriptedUiAnswersAndRestores) {
  UiSeam* real = &ui();
  {
    vaktest::ScriptedUi outer;
    EXPECT_EQ(&ui(), &outer);
    {
      vaktest::ScriptedUi inner;
      inner.answers = {MbResYes};
      inner.openNames = {std::string("C:\\a.icq"), std::nullopt};
      EXPECT_EQ(ui().messageBox("Frage", "?", MbYesNo, MbIconQuestion), MbResYes);
      EXPECT_EQ(ui().messageBox("Frage", "?", MbYesNo, MbIconQuestion), MbResNo);  // unscripted
      EXPECT_EQ(ui().messageBox("Info!", "i", MbOk, MbIconInfo), MbResOk);
      EXPECT_EQ(ui().openFileDialog("*.icq (Statusdatei)|*.icq"), std::string("C:\\a.icq"));
      EXPECT_EQ(ui().openFileDialog("x|*.x"), std::nullopt);
      EXPECT_EQ(ui().saveFileDialog("*.icq|*.icq"), std::nullopt);
      EXPECT_EQ(inner.openFilters, (std::vector<std::string>{"*.icq (Statusdatei)|*.icq", "x|*.x"}));
      EXPECT_EQ(inner.saveFilters, std::vector<std::string>{"*.icq|*.icq"});
      EXPECT_EQ(inner.boxes.size(), 3u);
    }
    EXPECT_EQ(&ui(), &outer);
    EXPECT_TRUE(outer.boxes.empty());
  }
  EXPECT_EQ(&ui(), real);
}

namespace {

// Closes the next message box of this thread with a button and notes what it
// showed. The box is read from a thread timer inside its modal loop: when it
// is activated its text is not set yet.
struct BoxSpy {
  static BoxSpy* current;
  HHOOK hook = nullptr;
  int button = IDOK;
  HWND box = nullptr;
  std::wstring caption, text;
  RECT rect{}, buttonRect{};  // of the box and of its button, on the screen
  bool seen = false;

  explicit BoxSpy(int answer) : button(answer) {
    current = this;
    hook = SetWindowsHookExW(WH_CBT, cbt, nullptr, GetCurrentThreadId());
  }
  ~BoxSpy() {
    UnhookWindowsHookEx(hook);
    current = nullptr;
  }
  static LRESULT CALLBACK cbt(int code, WPARAM wp, LPARAM lp) {
    if (code == HCBT_ACTIVATE && current && !current->box) {
      current->box = reinterpret_cast<HWND>(wp);
      SetTimer(nullptr, 0, 20, timer);
    }
    return CallNextHookEx(nullptr, code, wp, lp);
  }
  static void CALLBACK timer(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    if (!current || current->seen) return;
    HWND box = current->box;
    wchar_t buf[512];
    GetWindowTextW(box, buf, 512);
    current->caption = buf;
    GetWindowRect(box, &current->rect);
    HWND first = GetDlgItem(box, current->button);
    if (!first) first = GetDlgItem(box, IDOK);
    GetWindowRect(first, &current->buttonRect);
    // The text is the static control that has one (the icon's has none).
    EnumChildWindows(
        box,
        [](HWND child, LPARAM) -> BOOL {
          wchar_t cls[32], t[8192];
          GetClassNameW(child, cls, 32);
          if (lstrcmpiW(cls, L"Static") == 0 && GetWindowTextW(child, t, 8192) > 0) {
            current->text = t;
            return FALSE;
          }
          return TRUE;
        },
        0);
    current->seen = true;
    PostMessageW(box, WM_COMMAND, static_cast<WPARAM>(current->button), 0);
  }
};
BoxSpy* BoxSpy::current = nullptr;

}  // namespace

TEST(RealUi, MessageBoxShowsWindows1252TextAndAnswers) {
  {
    BoxSpy spy(IDYES);
    EXPECT_EQ(ui().messageBox("Achtung!", T("Änderungen übernehmen? € …"), MbYesNo, MbIconQuestion), MbResYes);
    EXPECT_TRUE(spy.seen);
    EXPECT_EQ(spy.caption, L"Achtung!");
    EXPECT_EQ(spy.text, L"\u00C4nderungen \u00FCbernehmen? \u20AC \u2026");
  }
  {
    BoxSpy spy(IDNO);
    EXPECT_EQ(ui().messageBox("Frage", "?", MbYesNo, MbIconQuestion), MbResNo);
  }
  {
    BoxSpy spy(IDOK);
    showError(T("Ungültiger Datentyp für 'Name'"));
    EXPECT_EQ(spy.caption, L"ICQMeldewart");
    EXPECT_EQ(spy.text, L"Ung\u00FCltiger Datentyp f\u00FCr 'Name'");
  }
}

// Texts that quote what comes from outside: the box and its button stay on
// the screen, and the text keeps its end.
TEST(RealUi, LongTextsKeepTheBoxOnTheScreen) {
  RECT screen{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &screen, 0);
  auto inside = [&](const RECT& r) {
    return r.left >= screen.left && r.top >= screen.top && r.right <= screen.right && r.bottom <= screen.bottom;
  };
  std::string words, lines;
  for (int i = 0; i < 2000; ++i) words += "Wort ";
  for (int i = 0; i < 200; ++i) lines += "Zeile\r\n";
  for (const std::string& text : {"'" + std::string(65536, '9') + T("' ist kein gültiger Integerwert"),
                                  words + "Ende", lines + "Ende"}) {
    BoxSpy spy(IDOK);
    showError(text);
    ASSERT_TRUE(spy.seen);
    EXPECT_TRUE(inside(spy.rect)) << spy.rect.left << "," << spy.rect.top << " - " << spy.rect.right << ","
                                  << spy.rect.bottom << " of " << text.size() << " characters";
    EXPECT_TRUE(inside(spy.buttonRect));
    EXPECT_LT(spy.text.size(), 2000u);
  }
  BoxSpy spy(IDOK);
  showError("'" + std::string(65536, '9') + T("' ist kein gültiger Integerwert"));
  EXPECT_EQ(spy.text.substr(0, 5), L"'9999");
  EXPECT_EQ(spy.text.substr(spy.text.size() - 31), L"' ist kein g\u00FCltiger Integerwert");
}

TEST(WinText, AllBytesSurviveAControl) {
  std::string all;
  for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_EQ(narrow(widen(all)), all);
  EXPECT_EQ(widen("\x80\x81\xFC"), L"\u20AC\u0081\u00FC");
  EXPECT_EQ(narrow(L"\u0100x"), "?x");
  EXPECT_EQ(W("Änderungen übernehmen"), L"\u00C4nderungen \u00FCbernehmen");
  EXPECT_EQ(W("→ Ā"), L"\u2192 \u0100");  // beyond Windows-1252 too
  EXPECT_EQ(W(""), L"");

  // Single-line: Wine's multi-line edit crashes on this very line of text.
  HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_POPUP | ES_AUTOHSCROLL, 0, 0, 100, 20, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(edit, nullptr);
  setText(edit, all);
  EXPECT_EQ(getText(edit), all) << vaktest::hex(getText(edit));
  setText(edit, "");
  EXPECT_EQ(getText(edit), "");
  DestroyWindow(edit);
  vaktest::pumpMessages();
}

namespace {

// Drives the next common file dialog of this thread: notes the entries of its
// file type list, types a name and presses OK. Counts the other windows
// activated meanwhile (an overwrite or must-exist prompt).
struct DialogDriver {
  static DialogDriver* current;
  HHOOK hook = nullptr;
  std::wstring name;
  HWND dialog = nullptr;
  int prompts = 0;
  std::vector<std::wstring> types;
  std::wstring initialName;

  explicit DialogDriver(std::wstring typed) : name(std::move(typed)) {
    current = this;
    hook = SetWindowsHookExW(WH_CBT, cbt, nullptr, GetCurrentThreadId());
  }
  ~DialogDriver() {
    UnhookWindowsHookEx(hook);
    current = nullptr;
  }
  static LRESULT CALLBACK cbt(int code, WPARAM wp, LPARAM lp) {
    if (code == HCBT_ACTIVATE && current) {
      HWND w = reinterpret_cast<HWND>(wp);
      if (!current->dialog) {
        current->dialog = w;
        SetTimer(nullptr, 0, 50, timer);
      } else if (w && w != current->dialog) {
        // Answered away, then the dialog is cancelled, so the test goes on.
        ++current->prompts;
        PostMessageW(w, WM_COMMAND, IDYES, 0);
        PostMessageW(w, WM_COMMAND, IDOK, 0);
        SetTimer(nullptr, 0, 300, cancel);
      }
    }
    return CallNextHookEx(nullptr, code, wp, lp);
  }
  static void CALLBACK cancel(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    if (current && IsWindow(current->dialog)) PostMessageW(current->dialog, WM_COMMAND, IDCANCEL, 0);
  }
  static void CALLBACK timer(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    if (!current) return;
    HWND dlg = current->dialog;
    HWND combo = GetDlgItem(dlg, 0x470);  // cmb1: file types
    const int count = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
      wchar_t item[256] = {};
      SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(item));
      current->types.push_back(item);
    }
    HWND edit = GetDlgItem(dlg, 0x47C);  // cmb13: file name
    if (!edit) edit = GetDlgItem(dlg, 0x480);  // edt1
    wchar_t initial[512] = {};
    GetWindowTextW(edit, initial, 512);
    current->initialName = initial;
    SetWindowTextW(edit, current->name.c_str());
    PostMessageW(dlg, WM_COMMAND, IDOK, 0);
  }
};
DialogDriver* DialogDriver::current = nullptr;

}  // namespace

TEST(RealUi, FileDialogsTakeDelphiFiltersAndAskNothing) {
  const std::string dir = vaktest::freshDir("ui_dialogs");
  {
    // The open dialog accepts a file that does not exist.
    // Paths come back as UTF-8, also with letters beyond Windows-1252.
    const std::string wanted = dir + "\\neu ä Ł.icq";
    DialogDriver driver(vak::widePath(wanted));
    const std::optional<std::string> got = ui().openFileDialog("*.icq (Statusdatei)|*.icq|Alle|*.*");
    ASSERT_TRUE(got);
    EXPECT_EQ(*got, wanted);
    EXPECT_EQ(driver.types, (std::vector<std::wstring>{L"*.icq (Statusdatei)", L"Alle"}));
    EXPECT_EQ(driver.initialName, L"");
    EXPECT_EQ(driver.prompts, 0);
  }
  {
    // The save dialog overwrites without asking and adds no extension.
    const std::string existing = dir + "\\abend";
    vaktest::writeFileBytes(existing, "x");
    DialogDriver driver(widen(existing));
    const std::optional<std::string> got = ui().saveFileDialog("*.icq|*.icq");
    ASSERT_TRUE(got);
    EXPECT_EQ(*got, existing);
    EXPECT_EQ(driver.types, std::vector<std::wstring>{L"*.icq"});
    EXPECT_EQ(driver.initialName, L"");
    EXPECT_EQ(driver.prompts, 0);
  }
}
