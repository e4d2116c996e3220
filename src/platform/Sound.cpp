#include "platform/Sound.h"

#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <deque>
#include <vector>

#include "platform/SdlAudio.h"

namespace slatewick {

namespace {

// A sound decoded to samples, in the output device's format once it has played there.
struct Decoded {
  bool playable = false;
  SDL_AudioSpec format{};
  std::vector<Uint8> samples;
};

Decoded Decode(const SdlAudio& sdl, const QByteArray& image) {
  Decoded sound;
  if (image.size() < 12 || std::size_t(image.size()) > MaxSoundBytes) return sound;
  Uint8* buffer = nullptr;
  Uint32 length = 0;
  SDL_RWops* rw = sdl.RWFromConstMem(image.constData(), int(image.size()));
  if (!sdl.LoadWAV_RW(rw, 1, &sound.format, &buffer, &length)) return sound;
  sound.samples.assign(buffer, buffer + length);
  sdl.FreeWAV(buffer);
  sound.playable = true;
  return sound;
}

bool SameFormat(const SDL_AudioSpec& a, const SDL_AudioSpec& b) {
  return a.freq == b.freq && a.format == b.format && a.channels == b.channels;
}

}  // namespace

// One output device for the process, opened at the first sound and kept. Its thread takes the
// samples of the current sound straight from the decoded clip.
class DeviceSoundOutput::Player {
 public:
  Player() {
    silenceCheck_.setInterval(100);
    QObject::connect(&silenceCheck_, &QTimer::timeout, [this] { PauseWhenSilent(); });
  }
  ~Player() { Stop(); }

  SoundClip Prepare(const QByteArray& image) {
    if (!Loaded()) return {};
    clips_.push_back(Decode(*sdl_, image));
    if (!clips_.back().playable) {
      clips_.pop_back();
      return {};
    }
    return {int(clips_.size()) - 1};
  }

  void Play(SoundClip clip) {
    Stop();
    if (clip.Silent() || std::size_t(clip.id) >= clips_.size() || !Loaded()) return;
    Decoded& sound = clips_[std::size_t(clip.id)];
    if (!sound.playable || !Open(sound.format) || !Fit(sound)) return;
    SetCurrent(&sound);
  }

  void Stop() { SetCurrent(nullptr); }

  void Close() {
    Stop();
    if (device_) sdl_->CloseAudioDevice(device_);
    if (initialised_) sdl_->QuitSubSystem(SDL_INIT_AUDIO);
    device_ = 0;
    initialised_ = false;
    output_ = Output::Untried;
  }

 private:
  enum class Output { Untried, Open, Missing };

  // Loads the library at the first sound; false without it.
  bool Loaded() {
    if (!sdl_) sdl_ = Sdl();
    return sdl_ != nullptr;
  }

  // Opens the device once, in the format of the first sound; a failure is final.
  bool Open(const SDL_AudioSpec& format) {
    if (output_ == Output::Untried) {
      output_ = Output::Missing;
      sdl_->SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");  // the program handles its own signals
      sdl_->SetMainReady();
      SDL_AudioSpec wanted = format;
      wanted.samples = 512;
      wanted.callback = &Player::Mix;
      wanted.userdata = this;
      initialised_ = sdl_->InitSubSystem(SDL_INIT_AUDIO) == 0;
      if (initialised_) device_ = sdl_->OpenAudioDevice(nullptr, 0, &wanted, &open_, 0);
      if (device_)
        output_ = Output::Open;  // paused, as it opens, until a sound plays
      else
        std::fprintf(stderr, "No sound output (%s): the program runs silent.\n", sdl_->GetError());
    }
    return output_ == Output::Open;
  }

  // Converts a sound's samples to the device's format, once.
  bool Fit(Decoded& sound) {
    if (SameFormat(sound.format, open_)) return true;
    SDL_AudioCVT cvt;
    if (sdl_->BuildAudioCVT(&cvt, sound.format.format, sound.format.channels, sound.format.freq,
                            open_.format, open_.channels, open_.freq) < 0) {
      sound.playable = false;
      return false;
    }
    std::vector<Uint8> converted(sound.samples.size() * std::size_t(std::max(cvt.len_mult, 1)));
    std::copy(sound.samples.begin(), sound.samples.end(), converted.begin());
    cvt.buf = converted.data();
    cvt.len = int(sound.samples.size());
    if (sdl_->ConvertAudio(&cvt) != 0) {
      sound.playable = false;
      return false;
    }
    converted.resize(std::size_t(cvt.len_cvt));
    sound.samples = std::move(converted);
    sound.format = open_;
    return true;
  }

  void SetCurrent(const Decoded* sound) {
    if (!device_) return;
    sdl_->LockAudioDevice(device_);
    current_ = sound;
    position_ = 0;
    sdl_->UnlockAudioDevice(device_);
    if (sound) {
      sdl_->PauseAudioDevice(device_, 0);
      silenceCheck_.start();
    } else {
      Pause();
    }
  }

  // The sound playing, read under the device's lock; null when none or without a device.
  const Decoded* Current() {
    if (!device_) return nullptr;
    sdl_->LockAudioDevice(device_);
    const Decoded* current = current_;
    sdl_->UnlockAudioDevice(device_);
    return current;
  }

  // While nothing plays the device is paused: SDL feeds it silence without calling Mix.
  void Pause() {
    silenceCheck_.stop();
    if (device_) sdl_->PauseAudioDevice(device_, 1);
  }
  void PauseWhenSilent() {
    if (!Current()) Pause();
  }

  // The device's thread, under the device's lock: the next samples of the current sound.
  static void SDLCALL Mix(void* self, Uint8* stream, int length) {
    auto& player = *static_cast<Player*>(self);
    std::memset(stream, player.open_.silence, std::size_t(length));
    const Decoded* sound = player.current_;
    if (!sound) return;
    const std::size_t n = std::min(std::size_t(length), sound->samples.size() - player.position_);
    std::memcpy(stream, sound->samples.data() + player.position_, n);
    player.position_ += n;
    if (player.position_ >= sound->samples.size()) player.current_ = nullptr;
  }

  const SdlAudio* sdl_ = nullptr;  // the library's functions, once loaded
  std::deque<Decoded> clips_;      // by clip id; a clip added leaves the others where they are
  Output output_ = Output::Untried;
  bool initialised_ = false;
  SDL_AudioDeviceID device_ = 0;
  SDL_AudioSpec open_{};
  const Decoded* current_ = nullptr;  // guarded by the device's lock
  std::size_t position_ = 0;          // bytes of current_ played
  QTimer silenceCheck_;               // while a sound plays: pauses the device once it ends
};

DeviceSoundOutput::DeviceSoundOutput() : player_(std::make_unique<Player>()) {}

DeviceSoundOutput::~DeviceSoundOutput() = default;

SoundClip DeviceSoundOutput::Prepare(const QByteArray& image) {
  return player_->Prepare(image);
}

void DeviceSoundOutput::Play(SoundClip clip) {
  player_->Play(clip);
}

void DeviceSoundOutput::Stop() {
  player_->Stop();
}

void DeviceSoundOutput::Close() {
  player_->Close();
}

}  // namespace slatewick
