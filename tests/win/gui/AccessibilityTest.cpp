// The window as a screen reader sees it: an accessibility client that knows
// only what oleacc tells it (AccessibleObjectFromWindow, AccessibleChildren,
// AccessibleObjectFromEvent, win events) finds, names and uses the drawn
// "Bearbeiten" buttons, the tables' cells and the entries' switches.
#include <oleacc.h>

#include <optional>

#include "GuiFixture.h"
#include "Keyboard.h"

using namespace vaktest;
using vak::EditorDialog;

namespace {

// An interface pointer released at the end of its scope.
template <class I>
class Ref {
 public:
  Ref() = default;
  Ref(const Ref&) = delete;
  Ref& operator=(const Ref&) = delete;
  ~Ref() { reset(); }
  void reset() {
    if (p_) p_->Release();
    p_ = nullptr;
  }
  I** out() {
    reset();
    return &p_;
  }
  I* get() const { return p_; }
  I* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }

 private:
  I* p_ = nullptr;
};

VARIANT childId(long id) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_I4;
  v.lVal = id;
  return v;
}

std::string fromBstr(BSTR b) {
  std::string s = b ? vak::narrow(b) : std::string();
  SysFreeString(b);
  return s;
}

std::string show(const RECT& r) {
  return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" + std::to_string(r.right) + "," +
         std::to_string(r.bottom) + ")";
}

// Client coordinates of window on the screen.
RECT onScreen(HWND window, RECT r) {
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// A simple element (or the object itself with CHILDID_SELF), asked through its object.
struct Element {
  IAccessible* acc;
  long child;

  std::string text(HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, BSTR*)) const {
    BSTR b = nullptr;
    (acc->*get)(childId(child), &b);
    return fromBstr(b);
  }
  std::string name() const { return text(&IAccessible::get_accName); }
  std::string value() const { return text(&IAccessible::get_accValue); }
  std::string description() const { return text(&IAccessible::get_accDescription); }
  std::string action() const { return text(&IAccessible::get_accDefaultAction); }
  long number(HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, VARIANT*)) const {
    VARIANT v;
    VariantInit(&v);
    (acc->*get)(childId(child), &v);
    const long n = v.vt == VT_I4 ? v.lVal : -1;
    VariantClear(&v);
    return n;
  }
  long role() const { return number(&IAccessible::get_accRole); }
  long state() const { return number(&IAccessible::get_accState); }
  bool has(long flag) const { return (state() & flag) == flag; }
  RECT location() const {
    LONG x = 0, y = 0, w = 0, h = 0;
    acc->accLocation(&x, &y, &w, &h, childId(child));
    return RECT{x, y, x + w, y + h};
  }
  HRESULT doDefaultAction() const { return acc->accDoDefaultAction(childId(child)); }
};

// The children of an object as AccessibleChildren gives them.
class Children {
 public:
  explicit Children(IAccessible* acc) {
    LONG count = 0;
    EXPECT_EQ(acc->get_accChildCount(&count), S_OK);
    all_.resize(static_cast<size_t>(count));
    for (VARIANT& v : all_) VariantInit(&v);
    LONG got = 0;
    if (count > 0) {
      EXPECT_EQ(AccessibleChildren(acc, 0, count, all_.data(), &got), S_OK);
    }
    EXPECT_EQ(got, count);
  }
  Children(const Children&) = delete;
  Children& operator=(const Children&) = delete;
  ~Children() {
    for (VARIANT& v : all_) VariantClear(&v);
  }
  size_t size() const { return all_.size(); }
  // Child i (from 0): its child id, -1 when it is an object of its own.
  long id(size_t i) const { return all_.at(i).vt == VT_I4 ? all_.at(i).lVal : -1; }
  // Child i as an object of its own (empty when it is a simple element).
  void object(size_t i, Ref<IAccessible>& out) const {
    out.reset();
    if (all_.at(i).vt == VT_DISPATCH && all_.at(i).pdispVal)
      all_.at(i).pdispVal->QueryInterface(IID_IAccessible, reinterpret_cast<void**>(out.out()));
  }

 private:
  std::vector<VARIANT> all_;
};

// Events that the windows raise, collected by an out-of-context hook (they
// arrive while this thread dispatches messages).
class WinEvents {
 public:
  struct Event {
    DWORD event;
    HWND hwnd;
    LONG object, child;
  };
  WinEvents() {
    seen().clear();
    hook_ = SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_STATECHANGE, nullptr, &WinEvents::record,
                            GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    EXPECT_NE(hook_, nullptr);
  }
  ~WinEvents() { UnhookWinEvent(hook_); }
  WinEvents(const WinEvents&) = delete;
  WinEvents& operator=(const WinEvents&) = delete;
  void clear() { seen().clear(); }
  // The child id of the last such event of window's client area.
  std::optional<LONG> last(DWORD event, HWND window) const {
    std::optional<LONG> child;
    for (const Event& e : seen())
      if (e.event == event && e.hwnd == window && e.object == OBJID_CLIENT) child = e.child;
    return child;
  }

 private:
  static std::vector<Event>& seen() {
    static std::vector<Event> events;
    return events;
  }
  static void CALLBACK record(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG object, LONG child, DWORD, DWORD) {
    seen().push_back(Event{event, hwnd, object, child});
  }
  HWINEVENTHOOK hook_ = nullptr;
};

class Accessibility : public GuiTest {
 protected:
  // The client object of a window, as a screen reader asks for it. The
  // test does not initialise COM itself: the window must be able to hand
  // its object over on its own.
  void clientObject(HWND window, Ref<IAccessible>& acc) {
    ASSERT_EQ(AccessibleObjectFromWindow(window, OBJID_CLIENT, IID_IAccessible, reinterpret_cast<void**>(acc.out())),
              S_OK);
    ASSERT_TRUE(acc);
  }
  // What an event names, found as a screen reader finds it.
  void fromEvent(HWND window, LONG eventChild, Ref<IAccessible>& acc, long& child) {
    VARIANT id;
    VariantInit(&id);
    ASSERT_EQ(AccessibleObjectFromEvent(window, static_cast<DWORD>(OBJID_CLIENT), static_cast<DWORD>(eventChild),
                                        acc.out(), &id),
              S_OK);
    ASSERT_EQ(id.vt, VT_I4);
    child = id.lVal;
  }
  void expectAt(const Element& e, HWND window, const RECT& client, const std::string& what) {
    const RECT expected = onScreen(window, client), got = e.location();
    EXPECT_TRUE(EqualRect(&expected, &got)) << what << ": " << show(got) << " instead of " << show(expected);
  }
};

}  // namespace

// Each column's 16 buttons are push buttons "Bearbeiten" that name their
// entry, are where they are drawn, show focus, hot and unavailable states and
// are pressed through the default action; a client that keeps the object
// after the window is gone gets errors, not a crash.
TEST_F(Accessibility, EditButtonsAreNamedPushButtonsThatOpenTheirEntry) {
  seedTwoProfiles();
  startApp();
  for (int which : {1, 2}) {
    vak::ButtonColumn& column = form().status().editButtons(which);
    Ref<IAccessible> acc;
    clientObject(column.hwnd(), acc);
    // The window itself as the system describes it: in its parent, over its client area.
    Ref<IDispatch> parent;
    EXPECT_EQ(acc->get_accParent(parent.out()), S_OK);
    EXPECT_TRUE(parent);
    RECT client{};
    GetClientRect(column.hwnd(), &client);
    expectAt(Element{acc.get(), CHILDID_SELF}, column.hwnd(), client, "column");

    Children buttons(acc.get());
    ASSERT_EQ(buttons.size(), 16u) << "column " << which;
    for (size_t i = 0; i < buttons.size(); ++i) {
      const int n = vak::entryOf(which, static_cast<int>(i) + 1);
      ASSERT_EQ(buttons.id(i), static_cast<long>(i) + 1) << "entry " << n;
      const Element button{acc.get(), buttons.id(i)};
      EXPECT_EQ(button.role(), ROLE_SYSTEM_PUSHBUTTON) << n;
      EXPECT_EQ(button.name(), "Bearbeiten") << n;
      EXPECT_EQ(button.description(), "Statusmeldung " + std::to_string(n) + ": " + seedTitle("111", n));
      EXPECT_EQ(button.state(), STATE_SYSTEM_FOCUSABLE) << n;
      expectAt(button, page(0), form().status().editButtonRect(n), "button " + std::to_string(n));
    }
  }

  Ref<IAccessible> acc;
  clientObject(form().status().editButtons(1).hwnd(), acc);
  form().status().focusEditButton(3);
  EXPECT_TRUE(Element({acc.get(), 3}).has(STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_FOCUSED));
  EXPECT_FALSE(Element({acc.get(), 4}).has(STATE_SYSTEM_FOCUSED));
  VARIANT focus;
  VariantInit(&focus);
  EXPECT_EQ(acc->get_accFocus(&focus), S_OK);
  EXPECT_EQ(focus.vt, VT_I4);
  EXPECT_EQ(focus.lVal, 3);
  // Under the mouse: hot-tracked.
  const RECT four = form().status().editButtons(1).buttonRect(3);
  SendMessageW(form().status().editButtons(1).hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(four.left + 5, four.top + 5));
  EXPECT_TRUE(Element({acc.get(), 4}).has(STATE_SYSTEM_HOTTRACKED));
  EXPECT_FALSE(Element({acc.get(), 3}).has(STATE_SYSTEM_HOTTRACKED));
  // While the window takes no input (a modal dialog is open): unavailable.
  EnableWindow(mainWnd(), FALSE);
  EXPECT_TRUE(Element({acc.get(), 4}).has(STATE_SYSTEM_UNAVAILABLE));
  EXPECT_FALSE(Element({acc.get(), 3}).has(STATE_SYSTEM_FOCUSABLE));
  EnableWindow(mainWnd(), TRUE);
  EXPECT_FALSE(Element({acc.get(), 4}).has(STATE_SYSTEM_UNAVAILABLE));

  // Entry 17's button pressed by the client alone: the call returns at once,
  // the editor then opens for entry 17.
  Ref<IAccessible> second;
  clientObject(form().status().editButtons(2).hwnd(), second);
  const Element first{second.get(), 1};
  EXPECT_EQ(first.action(), vak::T("Drücken"));
  std::string caption, shownTitle;
  driveModal(
      editor(),
      [&] {
        EXPECT_EQ(first.doDefaultAction(), S_OK);
        EXPECT_FALSE(editor().isModal()) << "the client's call waited for the dialog";
        pumpMessages();
      },
      [&] {
        caption = text(editor().hwnd());
        shownTitle = text(editor().control(EditorDialog::Memo1));
        click(editor().control(EditorDialog::Abbrechen));
      });
  EXPECT_EQ(caption, "Statusicon Nr. 17");
  EXPECT_EQ(shownTitle, seedTitle("111", 17));

  // The program's windows go while the client still holds the objects.
  closeApp();
  BSTR name = nullptr;
  const HRESULT gone = second->get_accName(childId(1), &name);
  EXPECT_TRUE(gone == CO_E_OBJNOTCONNECTED || gone == RPC_E_DISCONNECTED) << std::hex << gone;
  EXPECT_EQ(name, nullptr);
  LONG count = 5;
  EXPECT_TRUE(FAILED(acc->get_accChildCount(&count)));
  EXPECT_EQ(first.doDefaultAction(), gone);
}

// A table is rows of cells: the headings, then one row per entry with its
// switch as a check box, title and message; the selected cell has the focus.
// The client toggles entry 5 and edits a title through them alone.
TEST_F(Accessibility, TablesExposeRowsCellsAndSwitches) {
  seedTwoProfiles();
  startApp();
  vak::Grid& g1 = form().status().grid(1);
  Ref<IAccessible> table;
  clientObject(g1.hwnd(), table);
  const Element self{table.get(), CHILDID_SELF};
  EXPECT_EQ(self.role(), ROLE_SYSTEM_TABLE);
  EXPECT_EQ(self.name(), "Statusmeldungen 1 bis 16");
  Children rows(table.get());
  ASSERT_EQ(rows.size(), 17u);
  Ref<IAccessible> row;
  rows.object(0, row);
  ASSERT_TRUE(row) << "the rows are objects of their own";
  {
    Children headings(row.get());
    ASSERT_EQ(headings.size(), 3u);
    const char* texts[] = {"An", "Titel", "Nachricht"};
    for (size_t c = 0; c < 3; ++c) {
      EXPECT_EQ(Element({row.get(), headings.id(c)}).role(), ROLE_SYSTEM_COLUMNHEADER);
      EXPECT_EQ(Element({row.get(), headings.id(c)}).name(), texts[c]);
    }
  }
  for (int n = 1; n <= 16; ++n) {
    rows.object(static_cast<size_t>(n), row);
    ASSERT_TRUE(row) << n;
    EXPECT_EQ(Element({row.get(), CHILDID_SELF}).role(), ROLE_SYSTEM_ROW);
    EXPECT_EQ(Element({row.get(), CHILDID_SELF}).name(), "Statusmeldung " + std::to_string(n));
    Children cells(row.get());
    ASSERT_EQ(cells.size(), 3u) << n;
    const Element box{row.get(), cells.id(0)}, titleCell{row.get(), cells.id(1)}, messageCell{row.get(), cells.id(2)};
    EXPECT_EQ(box.role(), ROLE_SYSTEM_CHECKBUTTON) << n;
    EXPECT_EQ(box.has(STATE_SYSTEM_CHECKED), seedActive(n)) << n;
    EXPECT_EQ(box.description(), "Statusmeldung " + std::to_string(n) + ": " + seedTitle("111", n));
    expectAt(box, page(0), form().status().activeBoxRect(n), "box " + std::to_string(n));
    EXPECT_EQ(titleCell.role(), ROLE_SYSTEM_CELL);
    EXPECT_EQ(titleCell.name(), seedTitle("111", n));
    EXPECT_EQ(messageCell.name(), seedMessage("111", n));
    expectAt(messageCell, g1.hwnd(), g1.cellRect(n, 2), "message " + std::to_string(n));
  }

  // A client that walks by place or by neighbour comes to the same parts.
  const RECT box5 = onScreen(page(0), form().status().activeBoxRect(5));
  VARIANT hit;
  VariantInit(&hit);
  ASSERT_EQ(table->accHitTest((box5.left + box5.right) / 2, (box5.top + box5.bottom) / 2, &hit), S_OK);
  ASSERT_EQ(hit.vt, VT_DISPATCH) << "the row under the point";
  Ref<IAccessible> hitRow;
  hit.pdispVal->QueryInterface(IID_IAccessible, reinterpret_cast<void**>(hitRow.out()));
  VariantClear(&hit);
  ASSERT_TRUE(hitRow);
  EXPECT_EQ(Element({hitRow.get(), CHILDID_SELF}).name(), "Statusmeldung 5");
  ASSERT_EQ(hitRow->accHitTest((box5.left + box5.right) / 2, (box5.top + box5.bottom) / 2, &hit), S_OK);
  ASSERT_EQ(hit.vt, VT_I4);
  EXPECT_EQ(Element({hitRow.get(), hit.lVal}).role(), ROLE_SYSTEM_CHECKBUTTON);
  ASSERT_EQ(hitRow->accNavigate(NAVDIR_NEXT, hit, &hit), S_OK);
  ASSERT_EQ(hit.vt, VT_I4);
  EXPECT_EQ(Element({hitRow.get(), hit.lVal}).name(), seedTitle("111", 5));

  // The selected cell is focused while the table has the focus.
  SetFocus(g1.hwnd());
  g1.select(5, 2);
  rows.object(5, row);
  Children cells(row.get());
  const Element box{row.get(), cells.id(0)}, titleCell{row.get(), cells.id(1)}, messageCell{row.get(), cells.id(2)};
  EXPECT_TRUE(messageCell.has(STATE_SYSTEM_FOCUSED | STATE_SYSTEM_SELECTED));
  EXPECT_FALSE(titleCell.has(STATE_SYSTEM_FOCUSED));
  VARIANT focus;
  VariantInit(&focus);
  ASSERT_EQ(table->get_accFocus(&focus), S_OK);
  ASSERT_EQ(focus.vt, VT_I4);
  EXPECT_EQ(Element({table.get(), focus.lVal}).name(), seedMessage("111", 5));
  EXPECT_EQ(Element({table.get(), focus.lVal}).role(), ROLE_SYSTEM_CELL);

  // Entry 5 switched off through its check box: the model, the table's
  // picture and the box's state follow, as after a click.
  const std::vector<COLORREF> before = DrawnClient(g1.hwnd()).pixels(g1.switchRect(5));
  EXPECT_EQ(box.action(), "Deaktivieren");
  EXPECT_EQ(box.doDefaultAction(), S_OK);
  pumpMessages();
  EXPECT_FALSE(form().status().model().entry(5).active);
  EXPECT_FALSE(boxChecked(5));
  EXPECT_FALSE(box.has(STATE_SYSTEM_CHECKED));
  EXPECT_NE(DrawnClient(g1.hwnd()).pixels(g1.switchRect(5)), before) << "the table still draws the box checked";
  EXPECT_EQ(box.action(), "Aktivieren");

  // A new title as the cell's value; "Änderungen übernehmen" writes it.
  BSTR typed = SysAllocString(L"Per Leser");
  EXPECT_EQ(table->put_accValue(childId(focus.lVal), typed), S_OK);
  SysFreeString(typed);
  EXPECT_EQ(message(5), "Per Leser");
  click(ctl(vak::ids::Button1));
  EXPECT_EQ(regQuery(std::string(kRegOwners) + "\\111\\CustomStatusList\\5", "Description")->data, "Per Leser");
  EXPECT_EQ(regQuery(std::string(kRegOwners) + "\\111\\CustomStatusList\\5", "On")->data, "0x0");
  EXPECT_TRUE(ui_.boxes.empty());
}

// The arrow keys move the focus: the event names the cell or button, and a
// client finds it from the event alone. A toggle by Space tells the box's
// new state. The panels say which text they hold and that Enter edits them.
TEST_F(Accessibility, EventsFollowTheKeysAndPanelsSayWhatTheyHold) {
  seedTwoProfiles();
  startApp();
  ASSERT_TRUE(bringToFront(mainWnd()));
  HangGuard guard(mainWnd());
  WinEvents events;
  vak::Grid& g1 = form().status().grid(1);
  SetFocus(g1.hwnd());
  g1.select(2, 1);
  pumpInput();
  events.clear();
  pressKey(VK_DOWN);
  ASSERT_EQ(g1.selectedRow(), 3);
  const std::optional<LONG> cell = events.last(EVENT_OBJECT_FOCUS, g1.hwnd());
  ASSERT_TRUE(cell) << "no focus event for the table";
  {
    Ref<IAccessible> acc;
    long child = 0;
    fromEvent(g1.hwnd(), *cell, acc, child);
    const Element focused{acc.get(), child};
    EXPECT_EQ(focused.name(), seedTitle("111", 3));
    EXPECT_EQ(focused.role(), ROLE_SYSTEM_CELL);
    EXPECT_TRUE(focused.has(STATE_SYSTEM_FOCUSED));
  }

  // Space switches entry 3 off: a state change of its box.
  events.clear();
  pressKey(VK_SPACE);
  ASSERT_FALSE(boxChecked(3));
  const std::optional<LONG> box = events.last(EVENT_OBJECT_STATECHANGE, g1.hwnd());
  ASSERT_TRUE(box) << "no state change event for the switch";
  {
    Ref<IAccessible> acc;
    clientObject(g1.hwnd(), acc);
    const Element toggled{acc.get(), *box};
    EXPECT_EQ(toggled.role(), ROLE_SYSTEM_CHECKBUTTON);
    EXPECT_FALSE(toggled.has(STATE_SYSTEM_CHECKED));
    EXPECT_EQ(toggled.description(), "Statusmeldung 3: " + seedTitle("111", 3));
  }

  // In a column of buttons the event names the button.
  vak::ButtonColumn& column = form().status().editButtons(2);
  form().status().focusEditButton(20);
  events.clear();
  pressKey(VK_DOWN);
  ASSERT_TRUE(form().status().editButtonFocused(21));
  const std::optional<LONG> button = events.last(EVENT_OBJECT_FOCUS, column.hwnd());
  ASSERT_TRUE(button) << "no focus event for the column";
  {
    Ref<IAccessible> acc;
    long child = 0;
    fromEvent(column.hwnd(), *button, acc, child);
    const Element focused{acc.get(), child};
    EXPECT_EQ(focused.description(), "Statusmeldung 21: " + seedTitle("111", 21));
    EXPECT_TRUE(focused.has(STATE_SYSTEM_FOCUSED));
  }

  // The panels: their text, what they are, what Enter does.
  Ref<IAccessible> away, na;
  clientObject(ctl(vak::ids::AwayEd), away);
  clientObject(ctl(vak::ids::NaEd), na);
  EXPECT_EQ(Element({away.get(), CHILDID_SELF}).name(), "Abwesend-Text: " + seedAway("111"));
  EXPECT_EQ(Element({na.get(), CHILDID_SELF}).name(), vak::T("Nicht-verfügbar-Text: ") + seedNa("111"));
  EXPECT_EQ(Element({away.get(), CHILDID_SELF}).role(), ROLE_SYSTEM_PUSHBUTTON);
  EXPECT_EQ(Element({away.get(), CHILDID_SELF}).description(), vak::T("Eingabetaste öffnet den Editor"));
  int opened = 0;
  driveModal(
      editor(),
      [&] {
        EXPECT_EQ(Element({na.get(), CHILDID_SELF}).doDefaultAction(), S_OK);
        pumpMessages();
      },
      [&] {
        ++opened;
        EXPECT_EQ(form().status().currentEntry(), vak::kNaItem);
        click(editor().control(EditorDialog::Abbrechen));
      });
  EXPECT_EQ(opened, 1);
}

// With ICQ Lite below 2050 the rows and buttons of entries 30-32 are no children.
TEST_F(Accessibility, HiddenRowsAreNoChildren) {
  seedTwoProfiles();
  setLiteVersion("2049");
  startApp();
  Ref<IAccessible> column, table;
  clientObject(form().status().editButtons(2).hwnd(), column);
  clientObject(form().status().grid(2).hwnd(), table);
  EXPECT_EQ(Children(column.get()).size(), 13u);
  Children rows(table.get());
  ASSERT_EQ(rows.size(), 14u);  // the headings and entries 17-29
  Ref<IAccessible> last;
  rows.object(13, last);
  ASSERT_TRUE(last);
  EXPECT_EQ(Element({last.get(), CHILDID_SELF}).name(), "Statusmeldung 29");
  BSTR name = nullptr;
  EXPECT_EQ(column->get_accName(childId(14), &name), E_INVALIDARG);
  EXPECT_EQ(name, nullptr);
  EXPECT_EQ(Element({column.get(), 13}).description(), "Statusmeldung 29: " + seedTitle("111", 29));
}
