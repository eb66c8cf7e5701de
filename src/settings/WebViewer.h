#pragma once
// The web viewer TForm6 (licence and version history): the system's browser
// control where there is one, otherwise the page as text, fetched by the
// program itself, in a read-only text field of the browser's size.
#include <memory>
#include <string>

#include "ui/Window.h"

namespace vak {

class BrowserHost;

// Sizes and caption a caller sets before showing the viewer.
struct ViewerLayout {
  int width;         // of the whole dialog
  int groupWidth;    // GroupBox1
  int browserWidth;  // WebBrowser1
  int buttonLeft;    // Button1, in GroupBox1
  const char* caption;
};
extern const ViewerLayout kUpdateLayout;   // version history
extern const ViewerLayout kLicenceLayout;  // licence

class WebViewer : public Window {
 public:
  enum Id : int { GroupBox1 = 10, WebBrowser1, Button1 = IDOK };
  WebViewer();
  ~WebViewer() override;

  void create(HWND owner);
  HWND control(int id) const { return GetDlgItem(hwnd_, id); }
  // The texts routine found no language file: the built-in caption, now and
  // when the window is made.
  void useBuiltInTexts();

  // Lets the browser load address (UTF-8/ASCII address).
  void navigate(const std::string& address);
  void applyLayout(const ViewerLayout& layout);

  const std::string& address() const { return address_; }
  // The text field standing in for the browser, nullptr while the browser control is used.
  HWND textView() const { return browser_ ? nullptr : control(WebBrowser1); }
  // Whether the text field does not show the page of the last navigation yet.
  bool loading() const { return !browser_ && shown_ != generation_; }

 protected:
  LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void onClose() override { Button1Click(); }

 private:
  void Button1Click();
  void ensureView();
  void loadAsText(unsigned generation);
  RECT browserRect() const;

  std::unique_ptr<BrowserHost> browser_;
  bool viewReady_ = false;
  std::string address_;
  unsigned generation_ = 0;
  unsigned shown_ = 0;
  bool loading_ = false;
  bool stop_ = false;
  HFONT fixedFont_ = nullptr;
  bool builtInTexts_ = false;
};

}  // namespace vak
