#include "settings/WebViewer.h"

#include "settings/BrowserHost.h"
#include "platform/Http.h"
#include "platform/Text.h"
#include "platform/WinText.h"
#include "settings/PageText.h"

namespace vak {

const ViewerLayout kUpdateLayout{433, 411, 393, 167, "Update"};
const ViewerLayout kLicenceLayout{705, 681, 664, 303, "Lizenz..."};

namespace {

constexpr int kBrowserLeft = 8, kBrowserTop = 15, kBrowserHeight = 338;
constexpr int kGroupLeft = 8, kGroupTop = 8;

UINT loadMessage() {
  static const UINT message = RegisterWindowMessageW(L"VakViewerLoad");
  return message;
}

std::string failureText(const std::string& address, const HttpAnswer& answer) {
  std::string why;
  switch (answer.outcome) {
    case HttpOutcome::BadStatus:
      why = T("Der Server hat die Seite nicht geliefert (HTTP-Status ") + std::to_string(answer.status) + ").";
      break;
    case HttpOutcome::ReadFailed:
      why = T("Die Übertragung wurde unterbrochen.");
      break;
    default:
      why = T("Keine Verbindung zum Server.\r\nPrüfen sie Ihre Internetverbindung!");
      break;
  }
  return T("Die Seite konnte nicht geladen werden:\r\n") + address + "\r\n\r\n" + why;
}

}  // namespace

WebViewer::WebViewer() = default;

WebViewer::~WebViewer() {
  stop_ = true;
  browser_.reset();
  if (fixedFont_) DeleteObject(fixedFont_);
}

namespace {
constexpr const char* kBuiltInCaption = "Update";
}

void WebViewer::useBuiltInTexts() {
  builtInTexts_ = true;
  if (hwnd_) setText(hwnd_, kBuiltInCaption);
}

void WebViewer::create(HWND owner) {
  createDialog(L"TForm6", builtInTexts_ ? widen(kBuiltInCaption) : std::wstring(L"Vi"), 425, 401, owner);
  makeGroup(hwnd_, GroupBox1, "", kGroupLeft, kGroupTop, 411, 385);
  makeButton(hwnd_, Button1, "&OK", kGroupLeft + 167, kGroupTop + 360, 75, 17, BS_DEFPUSHBUTTON);
  onCommand(Button1, [this] { Button1Click(); });
  onCommand(IDCANCEL, [this] { Button1Click(); });
}

RECT WebViewer::browserRect() const {
  // Design pixels; the narrow layout until a caller applies another.
  return RECT{kGroupLeft + kBrowserLeft, kGroupTop + kBrowserTop, kGroupLeft + kBrowserLeft + 393,
              kGroupTop + kBrowserTop + kBrowserHeight};
}

// The browser control, or the text field where there is none; made on first use.
void WebViewer::ensureView() {
  if (viewReady_) return;
  viewReady_ = true;
  const RECT place = browserRect();
  browser_ = BrowserHost::create(hwnd_, WebBrowser1, dpiScale(hwnd_, place));
  if (browser_) return;
  HWND text = makeEdit(hwnd_, WebBrowser1, place.left, place.top, place.right - place.left, place.bottom - place.top,
                       ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL);
  SetWindowLongPtrW(text, GWL_STYLE, GetWindowLongPtrW(text, GWL_STYLE) & ~static_cast<LONG_PTR>(ES_AUTOHSCROLL));
  SendMessageW(text, EM_SETLIMITTEXT, 0, 0);
  // Above the group box, before the OK button in the tab order.
  SetWindowPos(text, control(GroupBox1), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void WebViewer::navigate(const std::string& address) {
  ensureView();
  address_ = address;
  ++generation_;
  if (browser_) {
    browser_->navigate(widen(address));
    return;
  }
  stop_ = loading_;  // a page still being fetched is dropped
  setText(textView(), T("Die Seite wird geladen …\r\n") + address);
  // Fetched once the viewer's own message loop runs, so the dialog shows at once.
  PostMessageW(hwnd_, loadMessage(), generation_, 0);
}

void WebViewer::applyLayout(const ViewerLayout& layout) {
  // The layouts give the viewer's outer width at 96 DPI; its height stays.
  RECT outer{}, client{};
  GetWindowRect(hwnd_, &outer);
  GetClientRect(hwnd_, &client);
  const int frame = (outer.right - outer.left) - (client.right - client.left);
  setClientSize(layout.width - MulDiv(frame, 96, windowDpi(hwnd_)), 401);
  placeControl(control(GroupBox1), kGroupLeft, kGroupTop, layout.groupWidth, 385);
  placeControl(control(Button1), kGroupLeft + layout.buttonLeft, kGroupTop + 360, 75, 17);
  ensureView();
  const RECT place{kGroupLeft + kBrowserLeft, kGroupTop + kBrowserTop, kGroupLeft + kBrowserLeft + layout.browserWidth,
                   kGroupTop + kBrowserTop + kBrowserHeight};
  if (browser_)
    browser_->move(dpiScale(hwnd_, place));
  else
    placeControl(textView(), place.left, place.top, place.right - place.left, place.bottom - place.top);
  ShowWindow(control(WebBrowser1), SW_SHOW);
  setText(hwnd_, layout.caption);
}

LRESULT WebViewer::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == loadMessage()) {
    loadAsText(static_cast<unsigned>(wp));
    return 0;
  }
  return Window::handleMessage(msg, wp, lp);
}

void WebViewer::loadAsText(unsigned generation) {
  if (generation != generation_ || browser_ || loading_) return;
  loading_ = true;
  stop_ = false;
  std::string body;
  const std::string address = address_;
  const HttpAnswer answer = httpFetch(
      address, HttpOptions{},
      [&](const char* data, std::size_t size) {
        body.append(data, size);
        // One byte beyond the cap tells that the page is longer (pageToText says so).
        return body.size() <= kMaxPageBytes;
      },
      [this] {
        processPendingMessages();
        return !stop_;
      });
  loading_ = false;
  // Closed or sent elsewhere meanwhile: this page is not wanted any more.
  if (stop_ || generation != generation_ || !hwnd_) {
    stop_ = false;
    if (generation != generation_ && hwnd_) PostMessageW(hwnd_, loadMessage(), generation_, 0);
    return;
  }
  shown_ = generation;
  HWND view = textView();
  const bool complete = answer.complete() || (answer.outcome == HttpOutcome::Stopped && body.size() > kMaxPageBytes);
  if (!complete) {
    SendMessageW(view, WM_SETFONT, reinterpret_cast<WPARAM>(uiFont()), TRUE);
    setText(view, failureText(address, answer));
    return;
  }
  const bool html = looksLikeHtml(body, answer.contentType);
  if (!html && !fixedFont_)
    fixedFont_ = CreateFontW(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN, L"Courier New");
  // Plain text keeps its columns in a fixed font.
  SendMessageW(view, WM_SETFONT, reinterpret_cast<WPARAM>(html ? uiFont() : fixedFont_), TRUE);
  setText(view, pageToText(body, answer.contentType));
}

void WebViewer::Button1Click() {
  stop_ = loading_;
  endModal();
}

}  // namespace vak
