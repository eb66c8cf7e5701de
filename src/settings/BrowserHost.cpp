#include "settings/BrowserHost.h"

#include <exdisp.h>
#include <ole2.h>
#include <oleidl.h>

#include "platform/SystemDll.h"

namespace vak {

namespace {

// The web browser control and the HTML document of the engine behind it.
const CLSID kWebBrowserClass = {0x8856F961, 0x340A, 0x11D0, {0xA9, 0x6B, 0x00, 0xC0, 0x4F, 0xD7, 0x05, 0xA2}};
const CLSID kHtmlDocumentClass = {0x25336920, 0x03F9, 0x11CF, {0x8F, 0xD0, 0x00, 0xAA, 0x00, 0x68, 0x6F, 0x13}};

constexpr wchar_t kHostClass[] = L"VakBrowserHost";

LRESULT CALLBACK hostProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_ERASEBKGND) return 1;  // the browser paints all of it
  return DefWindowProcW(hwnd, msg, wp, lp);
}

// ole32 and oleaut32 are loaded when the viewer first shows a page, not at
// every start.
struct Ole {
  decltype(&OleInitialize) initialize = systemFunction<decltype(&OleInitialize)>(L"ole32.dll", "OleInitialize");
  decltype(&CoCreateInstance) createInstance =
      systemFunction<decltype(&CoCreateInstance)>(L"ole32.dll", "CoCreateInstance");
  decltype(&OleSetContainedObject) setContainedObject =
      systemFunction<decltype(&OleSetContainedObject)>(L"ole32.dll", "OleSetContainedObject");
  decltype(&SysAllocString) allocString = systemFunction<decltype(&SysAllocString)>(L"oleaut32.dll", "SysAllocString");
  decltype(&SysFreeString) freeString = systemFunction<decltype(&SysFreeString)>(L"oleaut32.dll", "SysFreeString");

  bool complete() const { return initialize && createInstance && setContainedObject && allocString && freeString; }
};

const Ole& ole() {
  static const Ole functions;
  return functions;
}

bool oleReady() {
  static const bool ready = ole().complete() && SUCCEEDED(ole().initialize(nullptr));
  return ready;
}

// Whether the HTML engine can be created at all: the browser control itself
// may exist without it (it then shows nothing).
bool htmlEngineAvailable() {
  IUnknown* doc = nullptr;
  if (FAILED(ole().createInstance(kHtmlDocumentClass, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                              reinterpret_cast<void**>(&doc))) ||
      !doc)
    return false;
  doc->Release();
  return true;
}

}  // namespace

// The container side: client site, in-place site and frame in one object,
// owned by its BrowserHost (the reference count only tracks the browser's use).
class BrowserHost::Site final : public IOleClientSite, public IOleInPlaceSite, public IOleInPlaceFrame {
 public:
  explicit Site(HWND host) : host_(host) {}

  IOleObject* object = nullptr;
  IWebBrowser2* browser = nullptr;

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IOleClientSite))
      *out = static_cast<IOleClientSite*>(this);
    else if (IsEqualIID(riid, IID_IOleWindow) || IsEqualIID(riid, IID_IOleInPlaceSite))
      *out = static_cast<IOleInPlaceSite*>(this);
    else if (IsEqualIID(riid, IID_IOleInPlaceUIWindow) || IsEqualIID(riid, IID_IOleInPlaceFrame))
      *out = static_cast<IOleInPlaceFrame*>(this);
    else
      return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override { return refs_ > 0 ? --refs_ : 0; }

  // IOleClientSite
  HRESULT STDMETHODCALLTYPE SaveObject() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker** out) override {
    if (out) *out = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer** out) override {
    if (out) *out = nullptr;
    return E_NOINTERFACE;
  }
  HRESULT STDMETHODCALLTYPE ShowObject() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override { return E_NOTIMPL; }

  // IOleWindow (of the in-place site and the frame)
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* out) override {
    if (!out) return E_POINTER;
    *out = host_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

  // IOleInPlaceSite
  HRESULT STDMETHODCALLTYPE CanInPlaceActivate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnInPlaceActivate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnUIActivate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc, LPRECT pos,
                                             LPRECT clip, LPOLEINPLACEFRAMEINFO info) override {
    if (!frame || !doc || !pos || !clip || !info) return E_POINTER;
    *frame = static_cast<IOleInPlaceFrame*>(this);
    AddRef();
    *doc = nullptr;
    GetClientRect(host_, pos);
    GetClientRect(host_, clip);
    info->fMDIApp = FALSE;
    info->hwndFrame = GetAncestor(host_, GA_ROOT);
    info->haccel = nullptr;
    info->cAccelEntries = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Scroll(SIZE) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE OnUIDeactivate(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnInPlaceDeactivate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE DiscardUndoState() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE DeactivateAndUndo() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE OnPosRectChange(LPCRECT rect) override {
    IOleInPlaceObject* inPlace = nullptr;
    if (object && rect &&
        SUCCEEDED(object->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&inPlace))) && inPlace) {
      inPlace->SetObjectRects(rect, rect);
      inPlace->Release();
    }
    return S_OK;
  }

  // IOleInPlaceUIWindow / IOleInPlaceFrame: no tool space, menus or status bar.
  HRESULT STDMETHODCALLTYPE GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
  HRESULT STDMETHODCALLTYPE RequestBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
  HRESULT STDMETHODCALLTYPE SetBorderSpace(LPCBORDERWIDTHS) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE RemoveMenus(HMENU) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetStatusText(LPCOLESTR) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE EnableModeless(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

  void resize() {
    RECT rc{};
    GetClientRect(host_, &rc);
    OnPosRectChange(&rc);
  }

 private:
  HWND host_;
  ULONG refs_ = 0;
};

std::unique_ptr<BrowserHost> BrowserHost::create(HWND parent, int id, const RECT& place) {
  if (!oleReady() || !htmlEngineAvailable()) return nullptr;
  HINSTANCE instance = GetModuleHandleW(nullptr);
  static const bool registered = [instance] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &hostProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kHostClass;
    return RegisterClassExW(&wc) != 0;
  }();
  if (!registered) return nullptr;

  std::unique_ptr<BrowserHost> host(new BrowserHost());
  host->window_ = CreateWindowExW(0, kHostClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_TABSTOP,
                                  place.left, place.top, place.right - place.left, place.bottom - place.top, parent,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
  if (!host->window_) return nullptr;
  host->site_ = new Site(host->window_);
  Site& site = *host->site_;
  if (FAILED(ole().createInstance(kWebBrowserClass, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                              reinterpret_cast<void**>(&site.object))) ||
      !site.object)
    return nullptr;
  if (FAILED(site.object->SetClientSite(static_cast<IOleClientSite*>(&site)))) return nullptr;
  ole().setContainedObject(site.object, TRUE);
  RECT rc{};
  GetClientRect(host->window_, &rc);
  if (FAILED(site.object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, static_cast<IOleClientSite*>(&site), 0,
                                 host->window_, &rc)))
    return nullptr;
  if (FAILED(site.object->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(&site.browser))) ||
      !site.browser)
    return nullptr;
  return host;
}

BrowserHost::~BrowserHost() {
  if (site_) {
    if (site_->browser) site_->browser->Release();
    if (site_->object) {
      site_->object->Close(OLECLOSE_NOSAVE);
      site_->object->SetClientSite(nullptr);
      site_->object->Release();
    }
    delete site_;
  }
  if (window_ && IsWindow(window_)) DestroyWindow(window_);
}

HWND BrowserHost::hwnd() const { return window_; }

bool BrowserHost::navigate(const std::wstring& address) {
  if (!site_ || !site_->browser) return false;
  BSTR url = ole().allocString(address.c_str());
  if (!url) return false;
  VARIANT empty{};
  empty.vt = VT_EMPTY;
  const HRESULT hr = site_->browser->Navigate(url, &empty, &empty, &empty, &empty);
  ole().freeString(url);
  return SUCCEEDED(hr);
}

void BrowserHost::move(const RECT& place) {
  MoveWindow(window_, place.left, place.top, place.right - place.left, place.bottom - place.top, TRUE);
  if (site_) site_->resize();
}

}  // namespace vak
