#pragma once
// What screen readers and UI automation clients learn about the windows that
// draw their parts themselves (the tables, the columns of "Bearbeiten"
// buttons) and about controls whose own words say too little: an IAccessible
// object for the window's client area (MSAA; UI Automation clients reach it
// through Windows' proxy).
//
// The system's standard object answers for the window itself (its parent, its
// place, focus and visibility); the object made here adds the parts. Nothing
// is made, and no COM library is loaded, before a client asks (WM_GETOBJECT):
// most runs never meet one.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace vak {

// A part as a client sees it. Texts are Windows-1252; rect is in client
// coordinates of the window.
struct AccessiblePart {
  long role = 0;   // ROLE_SYSTEM_*; 0 for the window itself: the system's
  long state = 0;  // STATE_SYSTEM_*
  std::string name, value, description, defaultAction;
  RECT rect{};
};

// The parts of one window. Every part has an id above 0, unique in the
// window; 0 is the window's client area. A part may hold parts of its own (a
// table's row its cells): it is then offered as an object of its own, the
// others as simple elements (child ids). The parts directly in the window
// must have the ids 1..n in their order, so that a client that counts
// children reaches them by number.
class AccessibleParts {
 public:
  virtual ~AccessibleParts() = default;
  // The parts directly in `parent`, in their order (none: a simple element).
  virtual std::vector<long> children(long parent) = 0;
  virtual long parentOf(long id) = 0;
  // false when there is no such part (now: a hidden row has none). For id 0
  // only what replaces the system's answer is filled in.
  virtual bool describe(long id, AccessiblePart& part) = 0;
  // The default action of a part that describe() gave one. It runs after the
  // client's call has returned, from the window's messages: it may open a
  // modal dialog, and a client must not wait for that.
  virtual void doDefaultAction(long /*id*/) {}
  // A client's new value for a part; false when the part takes none.
  virtual bool setValue(long /*id*/, const std::string& /*value*/) { return false; }
  // Focus (SELFLAG_TAKEFOCUS) or select a part; false when it cannot.
  virtual bool selectPart(long /*id*/, long /*flags*/) { return false; }
  // The part with the keyboard focus while the window has it, 0 for none.
  virtual long focusedPart() { return 0; }
  // The selected part, 0 for none.
  virtual long selectedPart() { return 0; }
};

class AccessibleObject;

// Serves the client object of one window for its parts. The window hands
// every message to handle() first.
class AccessibleServer {
 public:
  explicit AccessibleServer(AccessibleParts& parts) : parts_(parts) {}
  ~AccessibleServer() { disconnect(); }
  AccessibleServer(const AccessibleServer&) = delete;
  AccessibleServer& operator=(const AccessibleServer&) = delete;

  // Answers WM_GETOBJECT for the client area and runs the default actions
  // that clients asked for; true when msg was answered (with result). On
  // WM_DESTROY it lets the clients go (and returns false).
  bool handle(HWND window, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
  // From now on every call of a client fails with CO_E_OBJNOTCONNECTED (or,
  // from another process, RPC_E_DISCONNECTED) instead of reaching parts that
  // are gone.
  void disconnect();

 private:
  AccessibleParts& parts_;
  AccessibleObject* root_ = nullptr;
  bool closed_ = false;
};

// Tells listening clients (SetWinEventHook) that part id of the window's
// client area changed: EVENT_OBJECT_FOCUS, EVENT_OBJECT_STATECHANGE, ...
void notifyAccessible(DWORD event, HWND window, long id);

// Gives a control of a standard class (a clickable label) what it cannot
// say itself: describe() fills what replaces the control's own answers for
// its client area (role, name, description, default action); action() is
// the default action (run as described above). Kept until the control is
// destroyed.
void describeControl(HWND control, std::function<AccessiblePart()> describe, std::function<void()> action);

}  // namespace vak
