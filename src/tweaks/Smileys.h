#pragma once
// The group "ICQ-Smileys" on the tweaks tab: ICQ's 28 smiley bitmaps as
// picture buttons, replaced singly, pointed at a set, and reset.
#include <windows.h>

#include <array>
#include <string>

#include "platform/Handle.h"
#include "tweaks/SmileyTable.h"

namespace vak {

struct BitmapTraits {
  using type = HBITMAP;
  static type invalid() { return nullptr; }
  static void close(type h) { DeleteObject(h); }
};
using BitmapHandle = Handle<BitmapTraits>;

class TweaksPage;
struct Shared;

class Smileys {
 public:
  Smileys(TweaksPage& page, Shared& shared);

  // The group's own controls, then the smileys' buttons.
  void create(HWND page);

  // Loads the pictures and shows them with the folder; the first call (at
  // start-up) also backs up ICQ's own bitmaps.
  void SmileyAkt();
  void SmBtnClick(int n);
  void Button3Click();
  void ResetSmClick();

  // Smiley button n (1-28); the tweaks page is made when it is not yet.
  HWND button(int n);
  // The picture smiley n shows (owned here), null when it shows none.
  HBITMAP picture(int n) const { return pictures_.at(static_cast<size_t>(n - 1)).get(); }
  // What SmOrt shows while ICQ's smiley folder is not known.
  static std::string unknownFolderText();

 private:
  void createButtons(HWND page);
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
  // The largest picture a smiley button shows in its own size.
  SIZE pictureBox() const;
  // The buttons draw their pictures themselves: a bitmap handed to a button
  // with BM_SETIMAGE may be copied by the control and that copy never freed
  // (so under Wine's common controls 6), once for every picture shown.
  static LRESULT CALLBACK buttonProc(HWND b, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR n, DWORD_PTR self);
  void drawPicture(HWND b, int n, HDC dc) const;

  TweaksPage& page_;
  Shared& shared_;
  std::string folderText_;  // what SmOrt shows
  std::array<HWND, kSmileyCount> buttons_{};
  // What each smiley shows, also while its button is not made: its picture,
  // or "Error!", or neither before SmileyAkt reached it.
  std::array<BitmapHandle, kSmileyCount> pictures_;
  std::array<bool, kSmileyCount> errors_{};
  bool started_ = false;
};

}  // namespace vak
