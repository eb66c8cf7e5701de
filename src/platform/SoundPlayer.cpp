#include "platform/SoundPlayer.h"

#include <windows.h>
#include <mmsystem.h>

#include "platform/Errors.h"
#include "platform/WinText.h"

namespace vak {

namespace {

std::string mciErrorText(MCIERROR code) {
  wchar_t text[256] = L"";
  if (!mciGetErrorStringW(code, text, static_cast<UINT>(sizeof text / sizeof text[0])) || !text[0])
    return "MCI-Fehler " + std::to_string(code);
  return narrow(text);
}

}  // namespace

SoundPlayer::~SoundPlayer() { close(); }

void SoundPlayer::close() {
  if (device_) mciSendCommandW(device_, MCI_CLOSE, MCI_WAIT, 0);
  device_ = 0;
  fileName_.clear();
}

void SoundPlayer::play(const std::string& path) {
  close();
  fileName_ = path;
  const std::wstring element = widen(path);
  MCI_OPEN_PARMSW open{};
  open.lpstrElementName = element.c_str();
  const MCIERROR err = mciSendCommandW(0, MCI_OPEN, MCI_OPEN_ELEMENT | MCI_WAIT, reinterpret_cast<DWORD_PTR>(&open));
  if (err) throw VakError(mciErrorText(err));
  device_ = open.wDeviceID;
  MCI_PLAY_PARMS playParms{};
  mciSendCommandW(device_, MCI_PLAY, 0, reinterpret_cast<DWORD_PTR>(&playParms));
}

}  // namespace vak
