#pragma once
// Sound preview through the media control interface (winmm): one device at a
// time, opened from a file and played without waiting.
#include <optional>
#include <string>

namespace vak {

// Whether the file begins as every wave file does: "RIFF", the chunk's size,
// "WAVE". nullopt when it cannot be read.
std::optional<bool> isWaveFile(const std::string& path);

class SoundPlayer {
 public:
  SoundPlayer() = default;
  ~SoundPlayer();
  SoundPlayer(const SoundPlayer&) = delete;
  SoundPlayer& operator=(const SoundPlayer&) = delete;

  // Closes a device still open, opens path (the device type is chosen from
  // the file) and starts playing it; returns at once. A file the media layer
  // cannot open throws VakError "Die Sounddatei kann nicht abgespielt werden:
  // {path}" with the media layer's own text on a second line. A failing play
  // command is not reported.
  void play(const std::string& path);
  // Closes the device, so it holds no file open any more.
  void close();
  bool isOpen() const { return device_ != 0; }
  const std::string& fileName() const { return fileName_; }

 private:
  unsigned device_ = 0;  // MCIDEVICEID, 0 when closed
  std::string fileName_;
};

}  // namespace vak
