#pragma once
#include <QByteArray>
#include <cstddef>
#include <memory>

namespace slatewick {

// The largest sound image the program reads or plays, in bytes.
constexpr std::size_t MaxSoundBytes = std::size_t(16) << 20;

// A sound made ready to play by a SoundOutput; the default clip is silence.
struct SoundClip {
  int id = -1;
  bool Silent() const { return id < 0; }
  bool operator==(const SoundClip&) const = default;
};

// Where the program's sounds go. One sound plays at a time: a new one stops the old one and
// starts from its beginning, and Play returns at once.
class SoundOutput {
 public:
  virtual ~SoundOutput() = default;
  // Decodes a complete RIFF WAVE image (at most MaxSoundBytes) once, so that its plays start
  // without decoding, allocating or copying anything. One that cannot be played is silence.
  virtual SoundClip Prepare(const QByteArray& image) = 0;
  // Stops what plays, then starts the clip (silence only stops).
  virtual void Play(SoundClip clip) = 0;
  virtual void Stop() = 0;
};

// Sound that goes nowhere: the command line's video, benchmarks and fuzzing.
class NoSoundOutput final : public SoundOutput {
 public:
  SoundClip Prepare(const QByteArray&) override { return {}; }
  void Play(SoundClip) override {}
  void Stop() override {}
};

// The sound device through SDL2, which is loaded at the first preparation (not linked: its
// thirty libraries held up the first window by 17 ms, a fifth of the program's start, in
// bench/startup_figures.sh) and opened at the first sound in that sound's format. The device
// stays open until the process ends: closing it waits for its buffers to drain and for the
// system's device search, which would hold up the end of the program. While nothing plays it is
// paused (SDL then feeds it silence itself, about 43 wake-ups a second). Without SDL2 or a device
// every sound is silent, and stderr says so once.
class DeviceSoundOutput final : public SoundOutput {
 public:
  DeviceSoundOutput();
  // Stops what plays; the device, paused for good, stays open until the process ends.
  ~DeviceSoundOutput() override;
  DeviceSoundOutput(const DeviceSoundOutput&) = delete;
  DeviceSoundOutput& operator=(const DeviceSoundOutput&) = delete;

  SoundClip Prepare(const QByteArray& image) override;
  void Play(SoundClip clip) override;
  void Stop() override;
  // Closes the device and the audio system too; the next sound starts afresh (tests).
  void Close();

 private:
  class Player;
  std::unique_ptr<Player> player_;
};

}  // namespace slatewick
