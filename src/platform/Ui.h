#pragma once
// The user interaction that tests need to answer: message boxes and the common
// file dialogs go through one replaceable seam. And the general error display.
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace vak {

// Button sets and icons, values as MessageBox's MB_* flags.
enum MbButtons : unsigned { MbOk = 0x0, MbYesNo = 0x4 };
enum MbIcon : unsigned { MbNoIcon = 0x0, MbIconError = 0x10, MbIconQuestion = 0x20, MbIconWarning = 0x30, MbIconInfo = 0x40 };
// Answers, values as IDOK/IDYES/...
enum MbResult : int { MbResOk = 1, MbResCancel = 2, MbResYes = 6, MbResNo = 7 };

class UiSeam {
 public:
  virtual ~UiSeam() = default;
  // caption and text are Windows-1252. No owner window.
  virtual int messageBox(const std::string& caption, const std::string& text, unsigned buttons, unsigned icon) = 0;
  // filter in Delphi form "shown|pattern|shown|pattern". Returns the chosen
  // path (UTF-8, Path.h) or nullopt when cancelled.
  virtual std::optional<std::string> openFileDialog(const std::string& filter) = 0;
  virtual std::optional<std::string> saveFileDialog(const std::string& filter) = 0;
};

// The seam in use (the real one unless a test installed another).
UiSeam& ui();
// Installs a seam; nullptr restores the real one. Returns the previous.
UiSeam* setUi(UiSeam* seam);

// Title of the application ("ICQMeldewart"), caption of the error display.
extern const char* const kAppTitle;

// The general error display: shows text in an error message box.
void showError(const std::string& cp1252Text);

// Runs an event handler: an error that escapes it ends the handler, its text
// is shown by the general error display, and the program goes on.
void runHandler(const std::function<void()>& handler);

}  // namespace vak
