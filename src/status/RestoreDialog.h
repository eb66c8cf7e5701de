#pragma once
// The restore dialog TForm7 and the backup taken after every write to ICQ.
#include "ui/Window.h"

namespace vak {

class StatusPage;

class RestoreDialog : public Window {
 public:
  enum Id : int {
    GroupBox1 = 10,
    Label1,
    a3,
    GroupBox2,
    GroupBox3,
    GroupBox4,
    a1,
    a2,
    Label5,
    d1,
    d2,
    d3,
    Button1,
    Button2,
    Button3,
    Button4 = IDCANCEL,
  };

  explicit RestoreDialog(StatusPage& page) : page_(page) {}
  void create(HWND owner);
  HWND control(int id) const { return GetDlgItem(hwnd_, id); }

  // Rotates the slots and writes the main window's set into slot 1.
  void Save();
  // Shows the state of the three slots.
  void Laden();
  void RestoreClick(int tag);
  void Button4Click() { endModal(); }

 protected:
  void onShowModal() override;  // FShow

 private:
  StatusPage& page_;
};

}  // namespace vak
