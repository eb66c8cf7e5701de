#pragma once
// The status entry editor TForm4: one entry (title, message, active switch)
// or the away / not-available text.
#include "ui/Window.h"

namespace vak {

class StatusPage;

class EditorDialog : public Window {
 public:
  enum Id : int {
    GroupBox2 = 10,
    Label1,
    Label2,
    Memo1,
    Memo2,
    Image2,
    ON1,
    Label4,
    Label3,
    OK = IDOK,
    Abbrechen = IDCANCEL,
  };

  explicit EditorDialog(StatusPage& page) : page_(page) {}
  void create(HWND owner);
  HWND control(int id) const { return GetDlgItem(hwnd_, id); }
  // The texts routine found no language file: the built-in texts, now and
  // when the window is made.
  void useBuiltInTexts();

  // Opening from an edit button: the switch shows the entry's state.
  void prepareEntry(bool active);
  // Opening from a panel: no switch, fixed preview title.
  void prepareAwayText();

  void OKClick();
  void AbbrechenClick();

 protected:
  void onShowModal() override;  // FShow
  void onClose() override { AbbrechenClick(); }

 private:
  StatusPage& page_;
  bool builtInTexts_ = false;
};

}  // namespace vak
