#include "ui/Accessible.h"

#include <commctrl.h>
#include <ole2.h>
#include <oleacc.h>

#include <algorithm>

#include "platform/SystemDll.h"
#include "platform/WinText.h"

namespace vak {

namespace {

// ole32, oleaut32 and oleacc are loaded when the first client asks, not at
// every start.
struct Com {
  decltype(&CoInitializeEx) initialize = systemFunction<decltype(&CoInitializeEx)>(L"ole32.dll", "CoInitializeEx");
  decltype(&CoDisconnectObject) disconnect =
      systemFunction<decltype(&CoDisconnectObject)>(L"ole32.dll", "CoDisconnectObject");
  decltype(&SysAllocStringLen) allocString =
      systemFunction<decltype(&SysAllocStringLen)>(L"oleaut32.dll", "SysAllocStringLen");
  decltype(&LresultFromObject) lresult = systemFunction<decltype(&LresultFromObject)>(L"oleacc.dll", "LresultFromObject");
  decltype(&CreateStdAccessibleObject) standard =
      systemFunction<decltype(&CreateStdAccessibleObject)>(L"oleacc.dll", "CreateStdAccessibleObject");

  bool complete() const { return initialize && disconnect && allocString && lresult && standard; }
};

const Com& com() {
  static const Com functions;
  return functions;
}

// Marshalling the object to a client needs COM on this (the windows')
// thread; it stays initialised until the process ends.
bool comReady() {
  static const bool ready = [] {
    if (!com().complete()) return false;
    const HRESULT hr = com().initialize(nullptr, COINIT_APARTMENTTHREADED);
    return SUCCEEDED(hr) || hr == RPC_E_CHANGED_MODE;
  }();
  return ready;
}

// The message that runs a default action a client asked for.
UINT actionMessage() {
  static const UINT message = RegisterWindowMessageW(L"VakAccessibleAction");
  return message;
}

// A Windows-1252 text for a client; S_FALSE (and no string) when it is empty.
HRESULT textOut(const std::string& text, BSTR* out) {
  *out = nullptr;
  if (text.empty()) return S_FALSE;
  const std::wstring wide = widen(text);
  *out = com().allocString(wide.data(), static_cast<UINT>(wide.size()));
  return *out ? S_OK : E_OUTOFMEMORY;
}

void setI4(VARIANT* v, long value) {
  v->vt = VT_I4;
  v->lVal = value;
}

// Whether the window and every window it lies in take input.
bool enabledChain(HWND window) {
  for (HWND h = window; h; h = (GetWindowLongW(h, GWL_STYLE) & WS_CHILD) ? GetParent(h) : nullptr)
    if (!IsWindowEnabled(h)) return false;
  return true;
}

}  // namespace

// The client object of a window (part 0, the root) or one of its parts that
// holds parts of its own. A part's object keeps the root alive; the root
// keeps the window's parts until the window goes.
class AccessibleObject final : public IAccessible {
 public:
  // The root; takes over the system's standard object for the window.
  AccessibleObject(HWND window, AccessibleParts& parts, IAccessible* standard)
      : root_(this), hwnd_(window), parts_(&parts), standard_(standard) {}
  // The object of a part of root's window.
  AccessibleObject(AccessibleObject* root, long part) : root_(root), part_(part) { root_->AddRef(); }

  void disconnect() {
    parts_ = nullptr;
    if (standard_) standard_->Release();
    standard_ = nullptr;
    // Lets go of the references that marshalling handed to other processes:
    // their proxies then answer RPC_E_DISCONNECTED.
    com().disconnect(static_cast<IAccessible*>(this), 0);
  }

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    if (IsEqualIID(riid, __uuidof(IUnknown)) || IsEqualIID(riid, __uuidof(IDispatch)) ||
        IsEqualIID(riid, __uuidof(IAccessible))) {
      *out = static_cast<IAccessible*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = InterlockedDecrement(&refs_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }

  // IDispatch: the properties are reached through IAccessible only, as with
  // the system's own objects.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
    if (info) *info = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }

  // IAccessible
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
    if (!parent) return E_POINTER;
    *parent = nullptr;
    if (!parts()) return CO_E_OBJNOTCONNECTED;
    if (isRoot()) return standard()->get_accParent(parent);
    const long up = parts()->parentOf(part_);
    if (up == 0) {
      root_->AddRef();
      *parent = root_;
    } else {
      *parent = new AccessibleObject(root_, up);
    }
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
    if (!count) return E_POINTER;
    *count = 0;
    if (!parts()) return CO_E_OBJNOTCONNECTED;
    *count = static_cast<LONG>(parts()->children(part_).size());
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!parts()) return CO_E_OBJNOTCONNECTED;
    const long p = partOf(child);
    if (p < 0 || p == part_) return E_INVALIDARG;
    if (parts()->children(p).empty()) return S_FALSE;  // a simple element: asked through this object
    *out = new AccessibleObject(root_, p);
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* out) override {
    return text(child, out, &AccessiblePart::name, &IAccessible::get_accName);
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* out) override {
    return text(child, out, &AccessiblePart::value, &IAccessible::get_accValue);
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* out) override {
    return text(child, out, &AccessiblePart::description, &IAccessible::get_accDescription);
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* out) override {
    return text(child, out, &AccessiblePart::defaultAction, &IAccessible::get_accDefaultAction);
  }

  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    if (!role) return E_POINTER;
    role->vt = VT_EMPTY;
    AccessiblePart part;
    const HRESULT hr = describe(child, part);
    if (hr != S_OK) return hr;
    if (isSelf(child) && isRoot() && part.role == 0) return standard()->get_accRole(child, role);
    setI4(role, part.role);
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    if (!state) return E_POINTER;
    state->vt = VT_EMPTY;
    AccessiblePart part;
    const HRESULT hr = describe(child, part);
    if (hr != S_OK) return hr;
    if (isSelf(child) && isRoot()) {
      const HRESULT own = standard()->get_accState(child, state);
      if (SUCCEEDED(own) && state->vt == VT_I4) state->lVal |= part.state;
      return own;
    }
    long s = part.state;
    if (!IsWindowVisible(window())) s |= STATE_SYSTEM_INVISIBLE;
    if (!enabledChain(window())) {
      s |= STATE_SYSTEM_UNAVAILABLE;
      s &= ~(STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_FOCUSED | STATE_SYSTEM_HOTTRACKED);
    }
    setI4(state, s);
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* out) override {
    return text(child, out, nullptr, &IAccessible::get_accHelp);
  }

  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override {
    if (!file || !topic) return E_POINTER;
    *file = nullptr;
    *topic = 0;
    AccessiblePart part;
    const HRESULT hr = describe(child, part);
    if (hr != S_OK) return hr;
    return isSelf(child) && isRoot() ? standard()->get_accHelpTopic(file, child, topic) : S_FALSE;
  }

  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* out) override {
    return text(child, out, nullptr, &IAccessible::get_accKeyboardShortcut);
  }

  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* out) override {
    if (!out) return E_POINTER;
    out->vt = VT_EMPTY;
    if (!parts()) return CO_E_OBJNOTCONNECTED;
    const long focus = parts()->focusedPart();
    if (focus == 0) return isRoot() ? standard()->get_accFocus(out) : S_FALSE;
    return reach(focus, out);
  }

  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* out) override {
    if (!out) return E_POINTER;
    out->vt = VT_EMPTY;
    if (!parts()) return CO_E_OBJNOTCONNECTED;
    const long chosen = parts()->selectedPart();
    return chosen == 0 ? S_FALSE : reach(chosen, out);
  }

  HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override {
    AccessiblePart part;
    const HRESULT hr = describe(child, part);
    if (hr != S_OK) return hr;
    if (parts()->selectPart(partOf(child), flags)) return S_OK;
    return isSelf(child) && isRoot() ? standard()->accSelect(flags, child) : DISP_E_MEMBERNOTFOUND;
  }

  HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height, VARIANT child) override {
    if (!left || !top || !width || !height) return E_POINTER;
    *left = *top = *width = *height = 0;
    AccessiblePart part;
    const HRESULT hr = describe(child, part);
    if (hr != S_OK) return hr;
    if (isSelf(child) && isRoot()) return standard()->accLocation(left, top, width, height, child);
    RECT r = part.rect;
    MapWindowPoints(window(), nullptr, reinterpret_cast<POINT*>(&r), 2);
    *left = r.left;
    *top = r.top;
    *width = r.right - r.left;
    *height = r.bottom - r.top;
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* out) override {
    if (!out) return E_POINTER;
    out->vt = VT_EMPTY;
    AccessiblePart part;
    const HRESULT hr = describe(start, part);
    if (hr != S_OK) return hr;
    const long from = partOf(start);
    if (direction == NAVDIR_FIRSTCHILD || direction == NAVDIR_LASTCHILD) {
      const std::vector<long> inside = parts()->children(from);
      if (inside.empty()) return from == part_ ? S_FALSE : E_INVALIDARG;
      return reach(direction == NAVDIR_FIRSTCHILD ? inside.front() : inside.back(), out);
    }
    if (direction != NAVDIR_NEXT && direction != NAVDIR_PREVIOUS)
      return from == part_ && isRoot() ? standard()->accNavigate(direction, start, out) : DISP_E_MEMBERNOTFOUND;
    if (from == 0) return standard()->accNavigate(direction, start, out);  // beside the window
    const std::vector<long> siblings = parts()->children(parts()->parentOf(from));
    const auto at = std::find(siblings.begin(), siblings.end(), from);
    if (at == siblings.end()) return S_FALSE;
    if (direction == NAVDIR_NEXT ? at + 1 == siblings.end() : at == siblings.begin()) return S_FALSE;
    const long next = direction == NAVDIR_NEXT ? *(at + 1) : *(at - 1);
    // A neighbour of this object itself is reached as an object of its own.
    if (from == part_ && parts()->children(next).empty()) return S_FALSE;
    return reach(next, out);
  }

  HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* out) override {
    if (!out) return E_POINTER;
    out->vt = VT_EMPTY;
    if (!parts()) return CO_E_OBJNOTCONNECTED;
    POINT at{x, y};
    ScreenToClient(window(), &at);
    RECT area{};
    if (isRoot()) {
      // A child window (the table's editor) lies over the parts.
      const HRESULT own = standard()->accHitTest(x, y, out);
      if (FAILED(own) || out->vt != VT_I4 || out->lVal != CHILDID_SELF) return own;
      out->vt = VT_EMPTY;
      GetClientRect(window(), &area);
    } else {
      AccessiblePart self;
      if (!parts()->describe(part_, self)) return E_FAIL;
      area = self.rect;
    }
    if (!PtInRect(&area, at)) return S_FALSE;
    for (long p : parts()->children(part_)) {
      AccessiblePart part;
      if (parts()->describe(p, part) && PtInRect(&part.rect, at)) return reach(p, out);
    }
    setI4(out, CHILDID_SELF);
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    AccessiblePart part;
    const HRESULT hr = describe(child, part);
    if (hr != S_OK) return hr;
    if (part.defaultAction.empty())
      return isSelf(child) && isRoot() ? standard()->accDoDefaultAction(child) : DISP_E_MEMBERNOTFOUND;
    PostMessageW(window(), actionMessage(), static_cast<WPARAM>(partOf(child)), 0);
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return DISP_E_MEMBERNOTFOUND; }

  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
    AccessiblePart part;
    const HRESULT hr = describe(child, part);
    if (hr != S_OK) return hr;
    if (parts()->setValue(partOf(child), narrow(value ? std::wstring(value) : std::wstring()))) return S_OK;
    return isSelf(child) && isRoot() ? standard()->put_accValue(child, value) : DISP_E_MEMBERNOTFOUND;
  }

 private:
  ~AccessibleObject() {
    if (root_ != this) root_->Release();
  }

  bool isRoot() const { return root_ == this; }
  AccessibleParts* parts() const { return root_->parts_; }
  IAccessible* standard() const { return root_->standard_; }
  HWND window() const { return root_->hwnd_; }
  static bool isSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

  // The part a child id names, -1 for none. The root knows every part by
  // its id (an event names the part so); the other objects number their
  // children from 1.
  long partOf(const VARIANT& child) const {
    if (child.vt != VT_I4) return -1;
    if (child.lVal == CHILDID_SELF) return part_;
    if (isRoot()) {
      AccessiblePart part;
      return child.lVal > 0 && parts()->describe(child.lVal, part) ? child.lVal : -1;
    }
    const std::vector<long> inside = parts()->children(part_);
    if (child.lVal < 1 || static_cast<size_t>(child.lVal) > inside.size()) return -1;
    return inside[static_cast<size_t>(child.lVal - 1)];
  }

  // The part named by child, described; S_FALSE is never returned.
  HRESULT describe(const VARIANT& child, AccessiblePart& part) const {
    if (!parts()) return CO_E_OBJNOTCONNECTED;
    const long p = partOf(child);
    if (p < 0 || !parts()->describe(p, part)) return E_INVALIDARG;
    return S_OK;
  }

  // Part p for the client: an object of its own when it holds parts, else
  // its child id in this object.
  HRESULT reach(long p, VARIANT* out) {
    if (p == part_) {
      setI4(out, CHILDID_SELF);
      return S_OK;
    }
    if (!parts()->children(p).empty()) {
      out->vt = VT_DISPATCH;
      out->pdispVal = new AccessibleObject(root_, p);
      return S_OK;
    }
    if (isRoot()) {
      setI4(out, p);
      return S_OK;
    }
    const std::vector<long> inside = parts()->children(part_);
    const auto at = std::find(inside.begin(), inside.end(), p);
    if (at == inside.end()) return S_FALSE;  // not in this object
    setI4(out, static_cast<long>(at - inside.begin()) + 1);
    return S_OK;
  }

  // A text property: the part's (field; none without one), or for the
  // window itself the system's unless the parts give one.
  HRESULT text(const VARIANT& child, BSTR* out, std::string AccessiblePart::*field,
               HRESULT (STDMETHODCALLTYPE IAccessible::*standardText)(VARIANT, BSTR*)) {
    if (!out) return E_POINTER;
    *out = nullptr;
    AccessiblePart part;
    const HRESULT hr = describe(child, part);
    if (hr != S_OK) return hr;
    const std::string own = field ? part.*field : std::string();
    if (isSelf(child) && isRoot() && own.empty()) return (standard()->*standardText)(child, out);
    return textOut(own, out);
  }

  LONG refs_ = 1;
  AccessibleObject* root_;
  long part_ = 0;
  // The root's only:
  HWND hwnd_ = nullptr;
  AccessibleParts* parts_ = nullptr;  // null once the window is gone
  IAccessible* standard_ = nullptr;
};

bool AccessibleServer::handle(HWND window, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  if (msg == WM_GETOBJECT) {
    // Only the client area is ours; the window's frame and the class query
    // that CreateStdAccessibleObject sends go to the system. lParam is a
    // DWORD object id (compared as such, as the documentation asks).
    if (static_cast<DWORD>(lp) != static_cast<DWORD>(OBJID_CLIENT) || closed_ || !comReady()) return false;
    if (!root_) {
      IAccessible* standard = nullptr;
      if (FAILED(com().standard(window, OBJID_CLIENT, __uuidof(IAccessible), reinterpret_cast<void**>(&standard))) ||
          !standard)
        return false;
      root_ = new AccessibleObject(window, parts_, standard);
    }
    result = com().lresult(__uuidof(IAccessible), wp, static_cast<IAccessible*>(root_));
    return true;
  }
  // (No message is registered before a client has asked.)
  if (root_ && msg == actionMessage()) {
    AccessiblePart part;
    const long id = static_cast<long>(wp);
    // The part may have gone since the client asked (a shortened table).
    if (parts_.describe(id, part) && !part.defaultAction.empty()) parts_.doDefaultAction(id);
    result = 0;
    return true;
  }
  if (msg == WM_DESTROY) disconnect();
  return false;
}

void AccessibleServer::disconnect() {
  closed_ = true;
  if (!root_) return;
  root_->disconnect();
  root_->Release();
  root_ = nullptr;
}

void notifyAccessible(DWORD event, HWND window, long id) { NotifyWinEvent(event, window, OBJID_CLIENT, id); }

namespace {

// The parts of a described control: the control alone.
class ControlParts final : public AccessibleParts {
 public:
  ControlParts(std::function<AccessiblePart()> describe, std::function<void()> action)
      : describe_(std::move(describe)), action_(std::move(action)) {}

  std::vector<long> children(long) override { return {}; }
  long parentOf(long) override { return 0; }
  bool describe(long id, AccessiblePart& part) override {
    if (id != 0) return false;
    part = describe_();
    return true;
  }
  void doDefaultAction(long id) override {
    if (id == 0 && action_) action_();
  }

  AccessibleServer server{*this};

 private:
  std::function<AccessiblePart()> describe_;
  std::function<void()> action_;
};

LRESULT CALLBACK describedProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR data) {
  auto* parts = reinterpret_cast<ControlParts*>(data);
  LRESULT result = 0;
  if (parts->server.handle(hwnd, msg, wp, lp, result)) return result;
  if (msg == WM_NCDESTROY) {
    RemoveWindowSubclass(hwnd, &describedProc, id);
    delete parts;
  }
  return DefSubclassProc(hwnd, msg, wp, lp);
}

}  // namespace

void describeControl(HWND control, std::function<AccessiblePart()> describe, std::function<void()> action) {
  auto* parts = new ControlParts(std::move(describe), std::move(action));
  if (!SetWindowSubclass(control, &describedProc, 1, reinterpret_cast<DWORD_PTR>(parts))) delete parts;
}

}  // namespace vak
