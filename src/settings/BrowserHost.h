#pragma once
// The system's web browser control ({8856F961-340A-11D0-A96B-00C04FD705A2})
// embedded in a child window through a small OLE container of our own.
#include <windows.h>

#include <memory>
#include <string>

namespace vak {

class BrowserHost {
 public:
  // The browser in a new child window of parent at the given place; nullptr
  // when the control or the HTML engine behind it is not available.
  static std::unique_ptr<BrowserHost> create(HWND parent, int id, const RECT& place);
  ~BrowserHost();
  BrowserHost(const BrowserHost&) = delete;
  BrowserHost& operator=(const BrowserHost&) = delete;

  HWND hwnd() const;
  // One Navigate call: address as wide string, the optional arguments empty.
  bool navigate(const std::wstring& address);
  void move(const RECT& place);

  class Site;

 private:
  BrowserHost() = default;
  HWND window_ = nullptr;
  Site* site_ = nullptr;
};

}  // namespace vak
