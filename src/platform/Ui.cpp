#include "platform/Ui.h"

#include <windows.h>
#include <commdlg.h>

#include <new>
#include <vector>

#include "platform/Path.h"
#include "platform/Errors.h"
#include "platform/SystemDll.h"
#include "platform/Text.h"
#include "platform/WinText.h"

namespace vak {

const char* const kAppTitle = "ICQMeldewart";

namespace {

// "shown|pattern|shown|pattern" -> "shown\0pattern\0shown\0pattern\0\0".
std::wstring dialogFilter(const std::string& filter) {
  std::wstring f = widen(filter);
  for (wchar_t& c : f)
    if (c == L'|') c = L'\0';
  f.push_back(L'\0');
  f.push_back(L'\0');
  return f;
}

BOOL CALLBACK findMainWindow(HWND hwnd, LPARAM found) {
  if (IsWindowVisible(hwnd) && IsWindowEnabled(hwnd) && !GetWindow(hwnd, GW_OWNER)) {
    *reinterpret_cast<HWND*>(found) = hwnd;
    return FALSE;
  }
  return TRUE;
}

// The window a dialog belongs to: the active window of this thread, else the
// thread's main window (visible, enabled, not owned).
HWND dialogOwner() {
  if (HWND active = GetActiveWindow()) return active;
  HWND main = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), &findMainWindow, reinterpret_cast<LPARAM>(&main));
  return main;
}

// Gives activation and keyboard focus back to the window that had them
// before a message box: a box without owner leaves no window active.
class KeepFocus {
 public:
  KeepFocus() : active_(GetActiveWindow()), focus_(GetFocus()) {}
  ~KeepFocus() {
    if (!active_ || !IsWindow(active_) || !IsWindowVisible(active_) || !IsWindowEnabled(active_)) return;
    SetForegroundWindow(active_);
    SetActiveWindow(active_);
    if (focus_ && IsWindow(focus_) && (focus_ == active_ || IsChild(active_, focus_)) && IsWindowVisible(focus_) &&
        IsWindowEnabled(focus_))
      SetFocus(focus_);
  }
  KeepFocus(const KeepFocus&) = delete;
  KeepFocus& operator=(const KeepFocus&) = delete;

 private:
  HWND active_;
  HWND focus_;
};

std::optional<std::string> fileDialog(const std::string& filter, bool save) {
  const std::wstring f = dialogFilter(filter);
  std::vector<wchar_t> name(32768, L'\0');  // starts empty every time
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  // Owned by the program's window, so that window takes no input while the
  // dialog is open and the dialog opens over it (a dialog without owner
  // would leave the window usable and could get lost behind it).
  ofn.hwndOwner = dialogOwner();
  ofn.lpstrFilter = f.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = name.data();
  ofn.nMaxFile = static_cast<DWORD>(name.size());
  // No default extension, no overwrite prompt, no must-exist check.
  ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_NOCHANGEDIR;
  using DialogFn = BOOL(WINAPI*)(OPENFILENAMEW*);
  const auto dialog = systemFunction<DialogFn>(L"comdlg32.dll", save ? "GetSaveFileNameW" : "GetOpenFileNameW");
  if (!dialog) throw VakError(T("Der Dateidialog von Windows lässt sich nicht öffnen."));
  const BOOL ok = dialog(&ofn);
  if (!ok) return std::nullopt;
  return pathFromWide(name.data());
}

// A message box grows with its text and is not kept on the screen: under Wine
// a word of some hundred characters makes it wider than the screen, and more
// than about a thousand characters or thirty lines make it taller, its
// buttons out of reach. Texts quote what comes from outside (a "number" of
// 64 KiB read where ICQ keeps its version), so a long text is shown
// shortened: a long word keeps its beginning and end, a long text its first
// lines and its last ones, where most texts say what to do.
std::string fitForScreen(const std::string& text) {
  constexpr std::size_t kWord = 100, kLines = 25, kChars = 1500;
  const std::string ellipsis = "\x85";  // "…" in Windows-1252
  std::string out;
  for (std::size_t i = 0; i < text.size();) {
    std::size_t end = text.find_first_of(" \t\r\n", i);
    if (end == std::string::npos) end = text.size();
    if (end - i > kWord)
      out += text.substr(i, 70) + ellipsis + text.substr(end - 20, 20);
    else
      out.append(text, i, end - i);
    if (end < text.size()) out += text[end];
    i = end + 1;
  }
  std::vector<std::size_t> starts{0};
  for (std::size_t i = 0; i < out.size(); ++i)
    if (out[i] == '\n') starts.push_back(i + 1);
  if (starts.size() > kLines) out = out.substr(0, starts[20]) + ellipsis + "\r\n" + out.substr(starts[starts.size() - 4]);
  if (out.size() > kChars) out = out.substr(0, 1000) + "\r\n" + ellipsis + "\r\n" + out.substr(out.size() - 400);
  return out;
}

class RealUi : public UiSeam {
 public:
  int messageBox(const std::string& caption, const std::string& text, unsigned buttons, unsigned icon) override {
    KeepFocus keep;
    return MessageBoxW(nullptr, widen(fitForScreen(text)).c_str(), widen(caption).c_str(),
                       MB_TASKMODAL | MB_SETFOREGROUND | buttons | icon);
  }
  std::optional<std::string> openFileDialog(const std::string& filter) override { return fileDialog(filter, false); }
  std::optional<std::string> saveFileDialog(const std::string& filter) override { return fileDialog(filter, true); }
};

RealUi g_realUi;
UiSeam* g_seam = nullptr;  // nullptr: the real one

}  // namespace

UiSeam& ui() { return g_seam ? *g_seam : g_realUi; }

UiSeam* setUi(UiSeam* seam) {
  UiSeam* previous = g_seam;
  g_seam = seam == &g_realUi ? nullptr : seam;
  return previous;
}

void showError(const std::string& cp1252Text) { ui().messageBox(kAppTitle, cp1252Text, MbOk, MbIconError); }

void runHandler(const std::function<void()>& handler) {
  try {
    handler();
  } catch (const std::bad_alloc&) {
    // The library's own text ("std::bad_alloc") says nothing to the user.
    showError(T("Nicht genug Arbeitsspeicher. Der Vorgang wurde abgebrochen."));
  } catch (const std::exception& e) {
    showError(e.what());
  } catch (...) {
    showError(T("Unbekannter Fehler. Der Vorgang wurde abgebrochen."));
  }
}

}  // namespace vak
