#pragma once
// The update check: the "Update" group of the settings tab, the checks at
// start and at exit, the download of an update and the hand-over to the
// updater.
#include <windows.h>

#include <cstddef>
#include <string>

namespace vak {

class Page;
struct Shared;

namespace ids {
enum : int {
  GroupBox3 = 900,
  Label7,
  RadioButton1,
  RadioButton2,
  RadioButton3,
  TestUD,
  UdCheckbox,
  UDStatus,
  UDBtn,
  EndUD,
  InfoBtn,
  Fortschritt,
};
}  // namespace ids

class UpdateCheck {
 public:
  UpdateCheck(Page& page, Shared& shared);

  // Creates the update group on the settings page, filled from the state.
  void create(HWND page);
  // The automatic check chosen: 1 at start, 2 at exit, 3 none.
  int mode() const;
  // Only 1, 2 and 3 name a radio button; another value leaves them as they are.
  void checkMode(int mode);

  // The automatic check at start (show handler) and at exit (close handler).
  // Their errors are shown, and start-up or closing goes on.
  void checkAtStart();
  void checkAtExit();

  // One address into one file; true when the whole answer (status 200) is
  // in the file. A failed transfer leaves no file.
  bool DownloadToFile(const std::string& url, const std::string& target);
  // The automatic check: true when an update is to be offered.
  bool proof();

  void TestUDClick();
  void aufUpdateprfen1Click();
  void UDBtnClick();
  void InfoBtnClick();
  void EndUDClick();

  // Closing the window while a transfer runs: the transfer stops, and the
  // window is closed again once the handler that ran it has ended. "Abbrechen"
  // works the same way.
  bool transferRunning() const { return transfers_ > 0; }
  void closeWhenTransferEnds();

  const std::string& newVersion() const;
  long blockCounter() const { return blocks_; }
  // The program has handed over to the updater (the process ends then; a
  // test's shell seam lets it go on, and nothing else must happen).
  bool ended() const { return ended_; }

 private:
  enum class Fetch { Ok, Failed, Stopped };
  class TransferScope;

  std::string iniFile() const;
  // Into path (replaced); a failed or stopped transfer removes it. With a
  // limit, the whole transfer must be done within limitMs.
  Fetch fetch(const std::string& url, const std::string& path, unsigned long limitMs = 0,
              std::size_t* bytes = nullptr);
  // The update check's download of the update information.
  Fetch downloadInfo();
  // "\r\nDer Server antwortete mit HTTP {status}." after a transfer that the
  // server refused with an HTTP status, else empty.
  std::string statusLine() const;
  std::string offerText() const;
  void showArea(bool shown);
  void showInArea(int id, bool shown);
  void setBusy(bool busy);
  // The focus on the first button of the result area that can take it (or
  // on "Jetzt auf Updates prüfen" once the area is closed), unless the user
  // has put it into a control elsewhere (another one than `left` it was in).
  void focusButtons(HWND left = nullptr);

  Page& page_;
  Shared& shared_;
  // What the controls show while the page is not made.
  int mode_ = 3;
  std::string status_, udBtn_ = "UDBtn", progress_;
  bool busy_ = false;
  std::string sizeText_;
  std::string infoPath_;
  long blocks_ = 0;
  int transfers_ = 0;
  bool stop_ = false;
  bool closeAfter_ = false;
  bool endAfter_ = false;
  int refusedStatus_ = 0;  // HTTP status of the latest transfer the server refused, 0 if none
  bool ended_ = false;
  bool areaShown_ = false;
  bool udBtnShown_ = true;
  bool infoBtnShown_ = true;
};

}  // namespace vak
