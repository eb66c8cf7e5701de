#pragma once
// The about panel Panel1 of the main window and the licence in the web viewer.
#include <windows.h>

#include <memory>
#include <string>

namespace vak {

struct Shared;

namespace ids {
enum : int {
  Panel1 = 950,
  LogoLink,
  Label6,
  Label2,
  StaticText5,
  StaticText2,
  Image36,
  StaticText1,
  StaticText6,
};
}  // namespace ids

class AboutPanel {
 public:
  explicit AboutPanel(Shared& shared);
  ~AboutPanel();

  // Creates the hidden panel over the main window (when it is first needed).
  void create(HWND mainWindow);
  bool made() const { return panel_ != nullptr; }
  // Where the panel lies; remembered until it is made.
  void place(int left, int top);
  // The texts routine found no language file: the built-in texts, now and
  // when the panel is made.
  void useBuiltInTexts();

  void About1Click();
  void Panel1Click();
  void LogoLinkClick();
  void Lizenz1Click();

  // The panel and its controls; the panel is made when it does not exist yet.
  HWND panel();
  HWND control(int id);
  // Without making anything: null before the panel is made (Panel1: the panel).
  HWND existing(int id) const;
  // The licence text's address (a test points it at its own server).
  void setLicenceAddress(const std::string& address) { licence_ = address; }

  class Panel;

 private:
  Shared& shared_;
  bool builtInTexts_ = false;
  std::unique_ptr<Panel> panel_;
  std::string licence_;
  bool placed_ = false;
  int left_ = 0, top_ = 0;
  HFONT titleFont_ = nullptr;
  HBITMAP logo_ = nullptr;
  HICON icon_ = nullptr;
};

}  // namespace vak
