// The windows at 144 DPI: every position, size and font of the design
// geometry is 1.5 times as large, also for controls made at run time, and the
// tables' rows stay in line with their buttons and check boxes.
//
// Run in a Wine prefix set to 144 DPI (VAK_EXPECT_DPI=144) the windows start
// so; otherwise they are moved to 144 DPI the way Windows does it, with
// WM_DPICHANGED.
#include <algorithm>
#include <climits>
#include <sstream>
#include <cstdlib>

#include "GuiFixture.h"

using namespace vaktest;
namespace ids = vak::ids;
using vak::EditorDialog;

namespace {

constexpr int kDpi = 144;
int px(int design) { return MulDiv(design, kDpi, 96); }

RECT rectInParent(HWND control) {
  RECT r{};
  GetWindowRect(control, &r);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

::testing::AssertionResult scaled(const RECT& r, int x, int y, int w, int h) {
  const int got[4] = {r.left, r.top, r.right - r.left, r.bottom - r.top};
  const int want[4] = {px(x), px(y), px(w), px(h)};
  for (int i = 0; i < 4; ++i)
    if (std::abs(got[i] - want[i]) > 1)
      return ::testing::AssertionFailure() << "rect " << got[0] << "," << got[1] << " " << got[2] << "x" << got[3]
                                           << ", want " << want[0] << "," << want[1] << " " << want[2] << "x"
                                           << want[3];
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult scaled(HWND control, int x, int y, int w, int h) {
  return scaled(rectInParent(control), x, y, w, h);
}

void moveTo144(HWND window) {
  RECT w{};
  GetWindowRect(window, &w);
  RECT suggested{w.left, w.top, w.left + px(w.right - w.left), w.top + px(w.bottom - w.top)};
  SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(kDpi, kDpi), reinterpret_cast<LPARAM>(&suggested));
}

int fontHeight(HWND control) {
  LOGFONTW lf{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof lf, &lf);
  return lf.lfHeight;
}

// The box around the pixels of `page` that differ from its background, as
// the page draws itself, within the band of rows [top, bottom) and columns
// [0, right).
RECT drawnBox(HWND page, int right, int top, int bottom) {
  const DrawnClient drawn(page, PRF_CLIENT | PRF_ERASEBKGND);
  const RECT& client = drawn.client();
  const COLORREF background = drawn.at(1, 1);
  RECT box{LONG_MAX, LONG_MAX, -1, -1};
  for (int y = top; y < bottom && y < client.bottom; ++y)
    for (int x = 0; x < right && x < client.right; ++x)
      if (drawn.at(x, y) != background) {
        box.left = std::min<LONG>(box.left, x);
        box.top = std::min<LONG>(box.top, y);
        box.right = std::max<LONG>(box.right, x + 1);
        box.bottom = std::max<LONG>(box.bottom, y + 1);
      }
  return box;
}

}  // namespace

class Dpi : public GuiTest {};

TEST_F(Dpi, LayoutIsScaledBy144Dpi) {
  seedTwoProfiles();
  setLiteVersion("2049");
  startApp();
  const char* expected = std::getenv("VAK_EXPECT_DPI");
  const bool started144 = expected && std::atoi(expected) == kDpi;
  // A control made at run time by one of the program's parts.
  HWND later = vak::makeButton(page(1), 9991, "Play", 10, 20, 40, 17);
  // The dialogs' windows are made when first opened.
  const auto openEditor = [&] {
    driveModal(editor(), [&] { clickEditButton(1); },
               [&] { click(editor().control(EditorDialog::Abbrechen)); });
  };
  const auto openRestore = [&] {
    driveModal(restore(), [&] { menu(ids::Restorelastsaved1); },
               [&] { click(restore().control(vak::RestoreDialog::Button4)); });
  };
  if (started144) {
    ASSERT_EQ(vak::windowDpi(mainWnd()), kDpi) << "the test prefix does not run at 144 DPI";
  } else {
    // The editor, made before the change, follows it; the restore dialog,
    // made after it, starts at its owner's DPI.
    openEditor();
    for (HWND w : {mainWnd(), editor().hwnd()}) moveTo144(w);
    ASSERT_EQ(vak::windowDpi(mainWnd()), kDpi);
  }

  RECT client{};
  GetClientRect(mainWnd(), &client);
  // (A window cannot grow past the screen: on a small test desktop the main
  // window's width is cut.)
  if (GetSystemMetrics(SM_CXMAXTRACK) > px(833) + 40) {
    EXPECT_NEAR(client.right, px(833), 1);
  }
  EXPECT_NEAR(client.bottom, px(441), 1);
  const RECT nn = rectInParent(ctl(ids::NN));
  EXPECT_NEAR(nn.left, px(348), 1);
  EXPECT_NEAR(nn.right - nn.left, px(204), 1);
  EXPECT_TRUE(scaled(ctl(ids::AwayEd), 32, 26, 241, 21));
  EXPECT_TRUE(scaled(ctl(ids::NaEd), 560, 26, 241, 21));
  EXPECT_TRUE(scaled(ctl(ids::Image34), 806, 29, 16, 16));
  EXPECT_TRUE(scaled(ctl(ids::Button2), 751, 2, 75, 21));
  EXPECT_TRUE(scaled(form().status().grid(1).hwnd(), 32, 21, 281, 307));
  EXPECT_TRUE(scaled(form().status().grid(2).hwnd(), 440, 21, 281, 253));  // shortened for ICQ Lite 2049
  EXPECT_TRUE(scaled(form().status().editButtonRect(1), 318, 40, 75, 17));
  EXPECT_TRUE(scaled(form().status().editButtonRect(29), 728, 40 + 18 * 12, 75, 17));
  EXPECT_FALSE(form().status().editButtonShown(30));
  // A check box of 13 design pixels in the middle of the table's fixed column.
  EXPECT_TRUE(scaled(form().status().activeBoxRect(17), 444, 42, 13, 13));
  {
    // The status icon of entry 16, drawn by the page left of the table, in its row.
    const RECT icon = drawnBox(page(0), px(30), px(40 + 18 * 15) - 2, px(40 + 18 * 16) - 1);
    EXPECT_GE(icon.left, px(9));
    EXPECT_GE(icon.top, px(40 + 18 * 15));
    EXPECT_LE(icon.right, px(9 + 16));
    EXPECT_LE(icon.bottom, px(40 + 18 * 15 + 16));
    EXPECT_GE(icon.right - icon.left, px(16) / 2) << "no icon drawn in the row of entry 16";
  }
  EXPECT_TRUE(scaled(ctl(ids::Button7), 500, 294, 200, 25));
  EXPECT_TRUE(scaled(later, 10, 20, 40, 17));
  EXPECT_EQ(fontHeight(ctl(ids::NN)), -px(11));
  EXPECT_EQ(fontHeight(later), -px(11));

  // The tables' cells, and their rows in line with the entries' controls.
  vak::Grid& g1 = form().status().grid(1);
  const RECT cell = g1.cellRect(1, 1);
  EXPECT_NEAR(cell.left, px(21), 1);
  EXPECT_NEAR(cell.right - cell.left, px(116), 1);
  EXPECT_NEAR(cell.bottom - cell.top, px(17), 1);
  for (int row : {1, 8, 16}) {
    POINT top{0, g1.cellRect(row, 1).top};
    MapWindowPoints(g1.hwnd(), page(0), &top, 1);
    EXPECT_NEAR(form().status().editButtonRect(row).top, top.y, 1) << row;
    const RECT box = form().status().activeBoxRect(row);
    EXPECT_NEAR(box.top + box.bottom, 2 * top.y + px(17), 2) << row;
  }
  // The rows that the shortened table cuts off stay unreachable.
  EXPECT_EQ(form().status().grid(2).lastRow(), 13);

  // The status icons are made in the size of the DPI.
  ICONINFO info{};
  HICON icon = reinterpret_cast<HICON>(SendMessageW(ctl(ids::Image33), STM_GETICON, 0, 0));
  ASSERT_TRUE(icon && GetIconInfo(icon, &info));
  BITMAP bm{};
  GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bm, &bm);
  EXPECT_EQ(bm.bmWidth, px(16));
  if (info.hbmColor) DeleteObject(info.hbmColor);
  if (info.hbmMask) DeleteObject(info.hbmMask);

  // The dialogs.
  openEditor();
  openRestore();
  GetClientRect(editor().hwnd(), &client);
  EXPECT_NEAR(client.right, px(370), 1);
  EXPECT_NEAR(client.bottom, px(290), 1);
  EXPECT_TRUE(scaled(editor().control(EditorDialog::OK), 196, 256, 80, 25));
  EXPECT_TRUE(scaled(editor().control(EditorDialog::Memo2), 20, 112, 330, 96));
  EXPECT_EQ(fontHeight(editor().control(EditorDialog::Memo2)), -px(11));
  GetClientRect(restore().hwnd(), &client);
  EXPECT_NEAR(client.right, px(440), 1);
  EXPECT_TRUE(ui_.boxes.empty());
}

// The tweaks and settings pages and the about panel are made when first
// shown: after a change of DPI they are made in the new size, fonts included.
TEST_F(Dpi, PagesMadeAfterTheChangeHaveItsSize) {
  seedTwoProfiles();
  startApp();
  ASSERT_FALSE(form().tweaks().made());
  ASSERT_FALSE(form().settingsPage().made());
  ASSERT_FALSE(form().about().made());
  const char* expected = std::getenv("VAK_EXPECT_DPI");
  if (!(expected && std::atoi(expected) == kDpi)) moveTo144(mainWnd());
  ASSERT_EQ(vak::windowDpi(mainWnd()), kDpi);

  form().setActivePage(1);
  EXPECT_TRUE(scaled(ctl(ids::GroupBox1), 4, 6, 233, 330));
  EXPECT_TRUE(scaled(ctl(ids::GebEdit), 90, 73, 40, 20));
  EXPECT_TRUE(scaled(ctl(ids::PlayButton1 + 9), 241 + 198, 6 + 18 * 10 + 21, 50, 19));
  EXPECT_TRUE(scaled(form().tweaks().smileys().button(28), 553 + vak::smileyCell(28).left, 6 + vak::smileyCell(28).top, 41, 41));
  for (int id : {int{ids::MultiIBox}, int{ids::Label12}, int{ids::SoundBox}, int{ids::SCB1}})
    EXPECT_EQ(fontHeight(ctl(id)), -px(11)) << id;
  form().setActivePage(2);
  EXPECT_TRUE(scaled(ctl(ids::Button7), 500, 294, 200, 25));
  EXPECT_TRUE(scaled(ctl(ids::RadioButton2), 422, 68, 300, 17));
  for (int id : {int{ids::Label9}, int{ids::Button7}, int{ids::C_ICQNr}, int{ids::UDStatus}})
    EXPECT_EQ(fontHeight(ctl(id)), -px(11)) << id;
  EXPECT_TRUE(scaled(form().about().panel(), 260, 146, 313, 169));
  EXPECT_TRUE(scaled(form().about().control(ids::Label2), 68, 38, 236, 16));
  EXPECT_TRUE(ui_.boxes.empty());
}

namespace {

// Why the text of a label, check box, button or group box on the page does
// not show whole in its window with its font; empty when it does. A label at
// most one line high shows its text on one line; a higher one may wrap, but
// no word may be cut and every line must show.
std::string cutText(HWND control) {
  wchar_t cls[32] = {};
  GetClassNameW(control, cls, 32);
  const bool label = lstrcmpiW(cls, L"Static") == 0;
  if (!label && lstrcmpiW(cls, L"Button") != 0) return "";
  const auto style = static_cast<DWORD>(GetWindowLongPtrW(control, GWL_STYLE));
  const std::wstring text = vak::widen(vak::getText(control));
  if (text.empty() || !(style & WS_VISIBLE)) return "";
  const DWORD type = style & (label ? SS_TYPEMASK : BS_TYPEMASK);
  if (label && (type != SS_LEFT && type != SS_RIGHT && type != SS_CENTER)) return "";
  if (label && (style & SS_PATHELLIPSIS)) return "";  // a path, shortened in the middle by design
  RECT client{};
  GetClientRect(control, &client);
  HDC dc = GetDC(control);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
  TEXTMETRICW tm{};
  GetTextMetricsW(dc, &tm);
  const UINT flags = DT_CALCRECT | DT_EXPANDTABS | ((!label || (style & SS_NOPREFIX)) ? DT_NOPREFIX : 0);
  RECT lines{0, 0, 0, 0};  // its lines as given, unwrapped
  DrawTextW(dc, text.c_str(), -1, &lines, flags);
  int room = client.right;  // for the text
  if (!label && (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_RADIOBUTTON ||
                 type == BS_AUTORADIOBUTTON)) {
    // The box, then half the width of a digit before the text.
    INT digit = 0;
    GetCharWidth32W(dc, L'0', L'0', &digit);
    room -= MulDiv(12, vak::windowDpi(control), 96) + 1 + digit / 2;
  } else if (!label && type == BS_GROUPBOX) {
    room -= 2 * 8;  // the caption sits on the frame, inset on both sides
  } else if (!label) {
    room -= 2 * 3;  // a push button's edge and focus frame
  }
  std::ostringstream o;
  if (label && client.bottom >= 2 * tm.tmHeight) {
    RECT wrapped{0, 0, room, 0};
    DrawTextW(dc, text.c_str(), -1, &wrapped, flags | DT_WORDBREAK);
    if (wrapped.bottom > client.bottom) o << "its " << wrapped.bottom / tm.tmHeight << " lines need " << wrapped.bottom;
    for (size_t at = 0; at < text.size();) {
      const size_t end = std::min(text.find_first_of(L" \r\n", at), text.size());
      RECT word{0, 0, 0, 0};
      if (end > at) DrawTextW(dc, text.substr(at, end - at).c_str(), -1, &word, flags);
      if (word.right > room) o << " the word '" << vak::narrow(text.substr(at, end - at)) << "' needs " << word.right;
      at = end + 1;
    }
  } else if (lines.right > room || lines.bottom > client.bottom) {
    o << "needs " << lines.right << "x" << lines.bottom;
  }
  SelectObject(dc, old);
  ReleaseDC(control, dc);
  if (o.str().empty()) return "";
  return "'" + vak::narrow(text) + "' " + o.str() + " in " + std::to_string(room) + "x" +
         std::to_string(client.bottom);
}

}  // namespace

// Every text on the tweaks page shows whole with the real font at the
// window's DPI: at the screen's own (96, or 144 in the prefix made for it),
// and after a move to 144 DPI.
TEST_F(Dpi, TweaksPageTextsShowWhole) {
  seedTwoProfiles();
  startApp();
  form().setActivePage(1);
  const auto expectWhole = [&](const char* when) {
    int texts = 0;
    for (HWND c = GetWindow(page(1), GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
      EXPECT_EQ(cutText(c), "") << when << ", control " << GetDlgCtrlID(c);
      ++texts;
    }
    EXPECT_GT(texts, 60) << when;
  };
  expectWhole(vak::windowDpi(mainWnd()) == kDpi ? "at 144 DPI" : "at 96 DPI");
  if (vak::windowDpi(mainWnd()) != kDpi) {
    moveTo144(mainWnd());
    expectWhole("after the move to 144 DPI");
  }
}
