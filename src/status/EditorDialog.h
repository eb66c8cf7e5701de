#pragma once
// The status entry editor TForm4: one entry (title, message, active switch)
// or the away / not-available text.
#include "ui/Window.h"

namespace vak {

class TForm1;

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

  explicit EditorDialog(TForm1& main) : main_(main) {}
  void create(HWND owner);
  HWND control(int id) const { return GetDlgItem(hwnd_, id); }

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
  TForm1& main_;
};

}  // namespace vak
