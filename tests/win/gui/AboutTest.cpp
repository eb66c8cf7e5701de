// The about panel and the licence in the web viewer (as text: the test
// machines have no browser engine).
#include "GuiFixture.h"
#include "Keyboard.h"
#include "TestServer.h"
#include "ViewerDrive.h"
#include "settings/AboutPanel.h"
#include "settings/UpdateCheck.h"

using namespace vaktest;
namespace ids = vak::ids;
using vak::T;

namespace {

class About : public GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    seedTwoProfiles();
  }
  HWND panel() { return form().about().panel(); }
  HWND part(int id) { return form().about().control(id); }
  // A mouse click as the control gets it.
  void mouseClick(HWND h, int x = 3, int y = 3) {
    SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    pumpMessages();
  }
  bool panelShown() { return IsWindowVisible(panel()) != FALSE; }
  // Size of a window, and a child's left edge within the viewer's client area.
  static int width(HWND h) {
    RECT r{};
    GetWindowRect(h, &r);
    return r.right - r.left;
  }
  static int leftIn(HWND parent, HWND h) {
    RECT r{};
    GetWindowRect(h, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r.left;
  }
  TestServer server_;
};

}  // namespace

TEST_F(About, PanelShowsAndHidesOnTheRightClicks) {
  startApp();
  HMENU menu = GetMenu(mainWnd());
  for (int id : {int{ids::aufUpdateprfen1}, int{ids::Lizenz1}, int{ids::About1}})
    EXPECT_FALSE(GetMenuState(menu, static_cast<UINT>(id), MF_BYCOMMAND) & MF_GRAYED) << id;
  EXPECT_FALSE(panelShown());
  RECT r{};
  GetWindowRect(panel(), &r);
  MapWindowPoints(nullptr, mainWnd(), reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(r.left, 260);
  EXPECT_EQ(r.top, 146);
  EXPECT_EQ(r.right - r.left, 313);
  EXPECT_EQ(r.bottom - r.top, 169);
  EXPECT_EQ(text(part(ids::Label6)), T("Meldewart für ICQ"));
  EXPECT_EQ(text(part(ids::Label2)), "Version 2.0 RC3");

  this->menu(ids::About1);
  ASSERT_TRUE(panelShown());
  // Over the tabs: the panel is the topmost child of the window.
  EXPECT_EQ(ChildWindowFromPointEx(mainWnd(), POINT{400, 200}, CWP_SKIPINVISIBLE), panel());

  // Title and version line: nothing happens.
  mouseClick(part(ids::Label6));
  mouseClick(part(ids::Label2));
  EXPECT_TRUE(panelShown());
  // The link opens the product's page and leaves the panel.
  mouseClick(part(ids::LogoLink));
  ASSERT_EQ(shell_.opened.size(), 1u);
  EXPECT_EQ(shell_.opened[0].file, "http://vak.example.org/vak/");
  EXPECT_EQ(shell_.opened[0].show, SW_SHOW);
  EXPECT_TRUE(panelShown());

  // Every other text, the logo and the background hide it.
  for (int id : {int{ids::StaticText5}, int{ids::StaticText2}, int{ids::Image36}, int{ids::StaticText1},
                 int{ids::StaticText6}, int{ids::Panel1}}) {
    this->menu(ids::About1);
    ASSERT_TRUE(panelShown());
    if (id == ids::Panel1)
      mouseClick(panel(), 300, 4);
    else
      mouseClick(part(id));
    EXPECT_FALSE(panelShown()) << id;
  }
  EXPECT_TRUE(ui_.boxes.empty());
}

// From the keyboard: the menu opens the panel, Escape hides it again.
TEST_F(About, EscapeHidesThePanel) {
  startApp();
  ASSERT_TRUE(bringToFront(mainWnd()));
  this->menu(ids::About1);
  ASSERT_TRUE(panelShown());
  pressKey(VK_ESCAPE);
  EXPECT_FALSE(panelShown());
  EXPECT_TRUE(answers(mainWnd()));
}

TEST_F(About, LinkHintShowsWhateverTheHintSwitchSays) {
  startApp();
  HWND link = part(ids::LogoLink);
  EXPECT_EQ(hints().text(link), "go to http://vak.example.org/vak/");
  menu(ids::Einstellungen1);
  click(ctl(ids::HintBox));  // hints off
  ASSERT_FALSE(vak::isChecked(ctl(ids::HintBox)));
  EXPECT_FALSE(hints().enabled(ctl(ids::InfoBtn)));
  EXPECT_TRUE(hints().enabled(link));
}

TEST_F(About, LicenceThenVersionHistoryInTheViewer) {
  const std::string gpl = "GNU GENERAL PUBLIC LICENSE\n    Version 2, June 1991\n\n  Preamble\n";
  server_.set("/gpl.txt", gpl);
  server_.set("/vak/update_de.html", TestServer::Reply{200, "<p>Neu</p>", "text/html"});
  server_.set("/vak/update.ini", "[Update]\r\n#01=2.1\r\n");
  setUpdateServer(server_.url());
  startApp();
  form().about().setLicenceAddress(server_.url() + "/gpl.txt");
  vak::WebViewer& viewer = *form6_;

  driveViewer(viewer, [&] { menu(ids::Lizenz1); },
             [&] {
               EXPECT_EQ(text(viewer.hwnd()), "Lizenz...");
               EXPECT_EQ(width(viewer.hwnd()), 705);
               EXPECT_EQ(width(viewer.control(vak::WebViewer::GroupBox1)), 681);
               EXPECT_EQ(width(viewer.control(vak::WebViewer::WebBrowser1)), 664);
               EXPECT_EQ(leftIn(viewer.hwnd(), viewer.control(vak::WebViewer::Button1)), 8 + 303);
               EXPECT_TRUE(IsWindowVisible(viewer.textView()));
               // Plain text as it is, in lines the text field shows.
               EXPECT_EQ(text(viewer.textView()),
                         "GNU GENERAL PUBLIC LICENSE\r\n    Version 2, June 1991\r\n\r\n  Preamble\r\n");
               EXPECT_FALSE(IsWindowEnabled(mainWnd())) << "the main window waits for the viewer";
               click(viewer.control(vak::WebViewer::Button1));
             });
  EXPECT_TRUE(IsWindowEnabled(mainWnd()));

  // Then the version history: back to the narrow layout and its caption.
  menu(ids::aufUpdateprfen1);
  driveViewer(viewer, [&] { click(ctl(ids::InfoBtn)); },
             [&] {
               EXPECT_EQ(text(viewer.hwnd()), "Update");
               EXPECT_EQ(width(viewer.hwnd()), 433);
               EXPECT_EQ(width(viewer.control(vak::WebViewer::GroupBox1)), 411);
               EXPECT_EQ(width(viewer.control(vak::WebViewer::WebBrowser1)), 393);
               EXPECT_EQ(leftIn(viewer.hwnd(), viewer.control(vak::WebViewer::Button1)), 8 + 167);
               EXPECT_EQ(text(viewer.textView()), "Neu");
               SendMessageW(viewer.hwnd(), WM_CLOSE, 0, 0);  // the close box
             });

  // Without a connection the text field says so.
  form().about().setLicenceAddress(TestServer::deadUrl() + "/gpl.txt");
  driveViewer(viewer, [&] { menu(ids::Lizenz1); },
             [&] {
               const std::string shown = text(viewer.textView());
               EXPECT_NE(shown.find("konnte nicht geladen werden"), std::string::npos) << shown;
               EXPECT_NE(shown.find("Keine Verbindung"), std::string::npos) << shown;
               click(viewer.control(vak::WebViewer::Button1));
             });
  // A page the server does not have.
  form().about().setLicenceAddress(server_.url() + "/missing.txt");
  driveViewer(viewer, [&] { menu(ids::Lizenz1); },
             [&] {
               EXPECT_NE(text(viewer.textView()).find("HTTP-Status 404"), std::string::npos);
               click(viewer.control(vak::WebViewer::Button1));
             });
  setUpdateServer("");
  EXPECT_TRUE(ui_.boxes.empty());
}
