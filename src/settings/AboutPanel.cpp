#include "settings/AboutPanel.h"

#include "settings/WebViewer.h"
#include "ui/Window.h"
#include "platform/Shell.h"
#include "platform/Text.h"
#include "platform/Ui.h"
#include "platform/WinText.h"
#include "settings/Shared.h"
#include "settings/Texts.h"

namespace vak {

namespace {
constexpr int kWidth = 313, kHeight = 169;
// Resource id of the maker's logo (res/vak.rc).
constexpr int kLogoResource = 36;
}  // namespace

// The panel window: a lowered bevel, clicks on its background and on its
// notifying texts hide it, the link shows a hand.
class AboutPanel::Panel : public Window {
 public:
  explicit Panel(AboutPanel& owner) : owner_(owner) {}
  void create(HWND parent) {
    Window::create(L"TPanel", 0, WS_CHILD | WS_CLIPSIBLINGS, L"", 0, 0, kWidth, kHeight, parent,
                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(ids::Panel1)));
  }

 protected:
  LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    switch (msg) {
      case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd_, &ps);
        RECT rc{};
        GetClientRect(hwnd_, &rc);
        DrawEdge(dc, &rc, BDR_RAISEDOUTER, BF_RECT);
        InflateRect(&rc, -1, -1);
        DrawEdge(dc, &rc, BDR_SUNKENINNER, BF_RECT);
        EndPaint(hwnd_, &ps);
        return 0;
      }
      case WM_LBUTTONUP:
        runHandler([this] { owner_.Panel1Click(); });
        return 0;
      case WM_SETCURSOR:
        if (reinterpret_cast<HWND>(wp) == owner_.existing(ids::LogoLink)) {
          SetCursor(LoadCursorW(nullptr, IDC_HAND));
          return TRUE;
        }
        break;
      default:
        break;
    }
    return Window::handleMessage(msg, wp, lp);
  }

 private:
  AboutPanel& owner_;
};

AboutPanel::AboutPanel(Shared& shared) : shared_(shared), licence_(kLicenceAddress) {}

AboutPanel::~AboutPanel() {
  panel_.reset();
  if (titleFont_) DeleteObject(titleFont_);
  if (logo_) DeleteObject(logo_);
  if (icon_) DestroyIcon(icon_);
}

HWND AboutPanel::panel() {
  if (!panel_ && shared_.mainWindow) create(shared_.mainWindow);
  return panel_ ? panel_->hwnd() : nullptr;
}

HWND AboutPanel::control(int id) {
  HWND p = panel();
  return p ? GetDlgItem(p, id) : nullptr;
}

HWND AboutPanel::existing(int id) const {
  if (!panel_) return nullptr;
  return id == ids::Panel1 ? panel_->hwnd() : GetDlgItem(panel_->hwnd(), id);
}

void AboutPanel::create(HWND mainWindow) {
  panel_ = std::make_unique<Panel>(*this);
  panel_->create(mainWindow);
  HWND p = panel_->hwnd();
  HINSTANCE instance = GetModuleHandleW(nullptr);

  icon_ = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON, 48, 48, 0));
  HWND link = makeIcon(p, ids::LogoLink, icon_, 10, 10, 48, 48);
  SetWindowLongPtrW(link, GWL_STYLE, GetWindowLongPtrW(link, GWL_STYLE) | SS_NOTIFY);
  // The link's hint shows whatever the hint switch says.
  shared_.hints->set(link, std::string("go to ") + kProductAddress);
  shared_.hints->enable(link, true);

  // Title and version take clicks without hiding the panel.
  HWND title = makeLabel(p, ids::Label6, T("Meldewart für ICQ"), 68, 14, 236, 22, SS_NOTIFY);
  titleFont_ = CreateFontW(-dpiScale(p, 16), 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Tahoma");
  SendMessageW(title, WM_SETFONT, reinterpret_cast<WPARAM>(titleFont_), FALSE);
  makeLabel(p, ids::Label2, "Version 1.0", 68, 38, 236, 16, SS_NOTIFY);

  makeLabel(p, ids::StaticText5, T("Geschrieben in C++ mit Win32 und MinGW-w64."), 10, 56, 294,
            14, SS_NOTIFY);
  makeLabel(p, ids::StaticText2, T("Danke an alle Tester für ihre Hinweise!"), 10, 70, 294, 14,
            SS_NOTIFY);
  makeLabel(p, ids::StaticText1, T("© 2006 VAK-Team · GNU General Public License"), 10, 84, 294, 14, SS_NOTIFY);
  makeLabel(p, ids::StaticText6, T("Idee, Programm und Bilder: VAK-Team"), 10, 98, 294, 14, SS_NOTIFY);

  HWND image = makeLabel(p, ids::Image36, "", 66, 116, 180, 50, SS_BITMAP | SS_NOTIFY);
  logo_ = static_cast<HBITMAP>(LoadImageW(instance, MAKEINTRESOURCEW(kLogoResource), IMAGE_BITMAP, 0, 0, 0));
  if (logo_) SendMessageW(image, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(logo_));

  for (int id : {ids::Image36, ids::StaticText1, ids::StaticText2, ids::StaticText5, ids::StaticText6})
    panel_->onCommand(id, [this](int code) {
      if (code == STN_CLICKED) Panel1Click();
    });
  panel_->onCommand(ids::LogoLink, [this](int code) {
    if (code == STN_CLICKED) LogoLinkClick();
  });

  if (builtInTexts_) useBuiltInTexts();
  if (placed_) place(left_, top_);
}

void AboutPanel::place(int left, int top) {
  placed_ = true;
  left_ = left;
  top_ = top;
  if (!panel_) return;
  placeControl(panel_->hwnd(), left, top, kWidth, kHeight);
  SetWindowPos(panel_->hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void AboutPanel::useBuiltInTexts() {
  builtInTexts_ = true;
  if (!panel_) return;
  setText(existing(ids::Label2), std::string("Version") + kVersionSuffix);
}

void AboutPanel::About1Click() {
  // Over the other controls of the window.
  SetWindowPos(panel(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void AboutPanel::Panel1Click() { ShowWindow(panel(), SW_HIDE); }

void AboutPanel::LogoLinkClick() { shell().open(kProductAddress, SW_SHOW); }

void AboutPanel::Lizenz1Click() {
  WebViewer* viewer = shared_.viewer ? shared_.viewer() : nullptr;
  if (!viewer) return;
  viewer->navigate(licence_);
  viewer->applyLayout(kLicenceLayout);
  viewer->showModal(shared_.mainWindow);
}

}  // namespace vak
