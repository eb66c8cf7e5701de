#include "platform/SoundPlayer.h"

#include <windows.h>
#include <mmsystem.h>

#include "platform/Errors.h"
#include "platform/Path.h"
#include "platform/SystemDll.h"
#include "platform/Text.h"
#include "platform/WinText.h"

namespace vak {

namespace {

// winmm is loaded when the first sound is played, not at every start.
template <typename Fn>
Fn winmm(const char* name) {
  return systemFunction<Fn>(L"winmm.dll", name);
}

MCIERROR sendCommand(MCIDEVICEID device, UINT message, DWORD_PTR flags, DWORD_PTR parameters) {
  static const auto send = winmm<decltype(&mciSendCommandW)>("mciSendCommandW");
  return send ? send(device, message, flags, parameters) : MCIERR_CANNOT_LOAD_DRIVER;
}

std::string mciErrorText(MCIERROR code) {
  static const auto errorString = winmm<decltype(&mciGetErrorStringW)>("mciGetErrorStringW");
  wchar_t text[256] = L"";
  if (!errorString || !errorString(code, text, static_cast<UINT>(sizeof text / sizeof text[0])) || !text[0])
    return "MCI-Fehler " + std::to_string(code);
  return narrow(text);
}

}  // namespace

std::optional<bool> isWaveFile(const std::string& path) {
  HANDLE f = CreateFileW(widePath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return std::nullopt;
  char head[12] = {};
  DWORD got = 0;
  const BOOL read = ReadFile(f, head, sizeof head, &got, nullptr);
  CloseHandle(f);
  if (!read) return std::nullopt;
  return got == sizeof head && std::string(head, 4) == "RIFF" && std::string(head + 8, 4) == "WAVE";
}

SoundPlayer::~SoundPlayer() { close(); }

void SoundPlayer::close() {
  if (device_) sendCommand(device_, MCI_CLOSE, MCI_WAIT, 0);
  device_ = 0;
  fileName_.clear();
}

void SoundPlayer::play(const std::string& path) {
  close();
  fileName_ = path;
  // Widened as the file functions widen the program's UTF-8 paths.
  const std::wstring element = widePath(path);
  MCI_OPEN_PARMSW open{};
  open.lpstrElementName = element.c_str();
  const MCIERROR err = sendCommand(0, MCI_OPEN, MCI_OPEN_ELEMENT | MCI_WAIT, reinterpret_cast<DWORD_PTR>(&open));
  if (err)
    throw VakError(T("Die Sounddatei kann nicht abgespielt werden: ") + pathToText(path) + "\r\n" + mciErrorText(err));
  device_ = open.wDeviceID;
  MCI_PLAY_PARMS playParms{};
  sendCommand(device_, MCI_PLAY, 0, reinterpret_cast<DWORD_PTR>(&playParms));
}

}  // namespace vak
