#include "app/App.h"

#include <commctrl.h>

#include "app/MainWindow.h"
#include "app/StartTrace.h"
#include "settings/WebViewer.h"
#include "platform/Files.h"
#include "platform/Ui.h"
#include "status/EditorDialog.h"
#include "status/RestoreDialog.h"

namespace vak {

int runApplication(HINSTANCE, int showCommand) {
  startTrace::mark("WinMain");
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_STANDARD_CLASSES | ICC_TAB_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&icc);

  // The four windows; all live until the program ends. The main window is
  // made now, each dialog's window the first time it is needed.
  TForm1 form1;
  form1.create();
  startTrace::mark("main window and controls");
  EditorDialog form4(form1.status());
  WebViewer form6;
  RestoreDialog form7(form1.status());
  form1.setDialogs(&form4, &form6, &form7);
  form1.start().args = commandLineArgs();
  form1.start().showCommand = showCommand;
  startTrace::mark("dialogs");

  // The show handler runs before the window becomes visible: the window then
  // appears once, complete, instead of being painted empty and then again
  // control by control while the start-up fills it. (A chosen update check at
  // start shows it earlier, once the start-up is done.)
  runHandler([&] { form1.FormShow(); });
  startTrace::mark("start-up checks");
  ShowWindow(form1.hwnd(), showCommand == SW_HIDE ? SW_SHOWNORMAL : showCommand);
  UpdateWindow(form1.hwnd());
  startTrace::mark("shown and painted");
  startTrace::write();
  const int code = runMessageLoop();
  // Closing ends the process at once: no window clean-up, nothing saved.
  ExitProcess(static_cast<UINT>(code));
}

}  // namespace vak
