#pragma once
// The group "ICQ-Smileys" on the tweaks tab: ICQ's 28 smiley bitmaps as
// picture buttons, replaced singly, pointed at a set, and reset.
#include <windows.h>

#include <array>
#include <string>

#include "platform/Handle.h"
#include "tweaks/SmileyTable.h"

namespace vak {

class TForm1;

namespace ids {
enum : int {
  Smiley = 700,
  SmOrt,
  Label3,
  Button3,
  Label4,
  ResetSm,
  SmileyButton1 = 710,  // smiley n: SmileyButton1 + n - 1
};
}  // namespace ids

struct BitmapTraits {
  using type = HBITMAP;
  static type invalid() { return nullptr; }
  static void close(type h) { DeleteObject(h); }
};
using BitmapHandle = Handle<BitmapTraits>;

class Smileys {
 public:
  explicit Smileys(TForm1& form) : form_(form) {}

  void create(HWND page);
  void applyTexts();
  void applyHints(bool on);

  // Builds the buttons on its first call (start-up), refreshes folder and pictures on every call.
  void SmileyAkt();
  void SmBtnClick(int n);
  void Button3Click();
  void ResetSmClick();

  // Smiley button n (1-28); null before the first SmileyAkt.
  HWND button(int n) const { return buttons_.at(static_cast<size_t>(n - 1)); }
  // What SmOrt shows while ICQ's smiley folder is not known.
  static std::string unknownFolderText();

 private:
  HWND control(int id) const;
  void createButtons();
  // The profile chosen in the profile box; throws the list index error when none is.
  std::string selectedProfile() const;
  // ICQ's smiley folder of the profile chosen in the profile box ("" when not known).
  std::string smileyFolder(const std::string& uin) const;
  // The folder of ICQ's own bitmaps, recorded at the first start ("" when not known).
  std::string backupFolder() const;
  // Tells the user that nothing was changed because ICQ's own folder is not known.
  void tellFolderUnknown() const;
  void makeFirstBackups(const std::string& folder);
  void showPicture(int n, BitmapHandle picture);
  void showError(int n);

  TForm1& form_;
  HWND page_ = nullptr;
  std::array<HWND, kSmileyCount> buttons_{};
  std::array<BitmapHandle, kSmileyCount> pictures_;
};

}  // namespace vak
