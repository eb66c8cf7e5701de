#pragma once
// Drives the web viewer while it is shown modally: check() runs from inside
// its modal loop once the page is shown (a thread timer waits for that, so
// the viewer's own transfer is not held up by the test).
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>

#include "settings/WebViewer.h"

namespace vaktest {

namespace detail {
struct ViewerDrive {
  vak::WebViewer* viewer;
  const std::function<void()>* check;
  bool ran = false;
  int ticks = 0;
};
inline ViewerDrive*& currentViewerDrive() {
  static ViewerDrive* drive = nullptr;
  return drive;
}
inline void CALLBACK viewerTimer(HWND, UINT, UINT_PTR id, DWORD) {
  ViewerDrive* d = currentViewerDrive();
  if (!d) {
    KillTimer(nullptr, id);
    return;
  }
  if (d->viewer->loading() && ++d->ticks < 500) return;  // up to 10 s
  KillTimer(nullptr, id);
  currentViewerDrive() = nullptr;
  d->ran = true;
  EXPECT_FALSE(d->viewer->loading()) << "the page did not arrive";
  (*d->check)();
  if (d->viewer->isModal()) {
    ADD_FAILURE() << "the viewer stayed open";
    SendMessageW(d->viewer->hwnd(), WM_CLOSE, 0, 0);
  }
}
}  // namespace detail

inline void driveViewer(vak::WebViewer& viewer, const std::function<void()>& open,
                        const std::function<void()>& check) {
  detail::ViewerDrive drive{&viewer, &check};
  detail::currentViewerDrive() = &drive;
  const UINT_PTR timer = SetTimer(nullptr, 0, 20, &detail::viewerTimer);
  open();
  KillTimer(nullptr, timer);
  detail::currentViewerDrive() = nullptr;
  EXPECT_TRUE(drive.ran) << "the viewer was not shown modally";
  EXPECT_FALSE(IsWindowVisible(viewer.hwnd()));
}

}  // namespace vaktest
