#include "platform/Sound.h"

#include <QTimer>
#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/SdlAudio.h"

namespace slatewick {

namespace {

std::function<void(const void*, unsigned)>& Observer() {
  static std::function<void(const void*, unsigned)> observer;
  return observer;
}

// A sound decoded to samples, in the output device's format once it has played there.
struct Decoded {
  const void* image = nullptr;   // the caller's memory
  std::size_t size = 0;          // its bytes
  std::array<Uint8, 64> head{};  // its first bytes, to tell a reused address
  bool playable = false;
  SDL_AudioSpec format{};
  std::vector<Uint8> samples;
};

// The size of a RIFF WAVE image from its header, or 0 when it is not one.
std::size_t ImageSize(const void* image) {
  const auto* bytes = static_cast<const unsigned char*>(image);
  if (std::memcmp(bytes, "RIFF", 4) != 0 || std::memcmp(bytes + 8, "WAVE", 4) != 0) return 0;
  const std::uint32_t chunk =
      bytes[4] | (bytes[5] << 8) | (bytes[6] << 16) | (std::uint32_t(bytes[7]) << 24);
  return std::size_t(chunk) + 8;
}

std::unique_ptr<Decoded> Decode(const SdlAudio& sdl, const void* image, std::size_t size) {
  auto sound = std::make_unique<Decoded>();
  sound->image = image;
  sound->size = size;
  std::memcpy(sound->head.data(), image, std::min(size, sound->head.size()));
  if (size < 12 || size > MaxSoundBytes) return sound;
  Uint8* buffer = nullptr;
  Uint32 length = 0;
  SDL_RWops* rw = sdl.RWFromConstMem(image, int(size));
  if (!sdl.LoadWAV_RW(rw, 1, &sound->format, &buffer, &length)) return sound;
  sound->samples.assign(buffer, buffer + length);
  sdl.FreeWAV(buffer);
  sound->playable = true;
  return sound;
}

bool SameFormat(const SDL_AudioSpec& a, const SDL_AudioSpec& b) {
  return a.freq == b.freq && a.format == b.format && a.channels == b.channels;
}

// One output device, opened at the first sound and kept. Its thread takes the samples of the
// current sound straight from the decoded buffer. Without the SDL library every sound is silent.
class Player {
 public:
  Player() {
    silenceCheck_.setInterval(100);
    QObject::connect(&silenceCheck_, &QTimer::timeout, [this] { ParkWhenSilent(); });
  }

  bool Prepare(const void* image, std::size_t size) {
    if (!Loaded()) return false;
    Forget(image);
    if (prepared_.size() >= 4) Forget(prepared_.front()->image);
    prepared_.push_back(Decode(*sdl_, image, size));
    return prepared_.back()->playable;
  }

  bool Play(const void* image, bool async) {
    if (!Loaded()) return false;
    Decoded* sound = Prepared(image);
    if (!sound) {
      Stop();
      const std::size_t size = ImageSize(image);
      if (size == 0 || size > MaxSoundBytes) return false;
      oneOff_ = Decode(*sdl_, image, size);
      sound = oneOff_.get();
    }
    if (!sound->playable || !Open(sound->format) || !Fit(*sound)) return false;
    SetCurrent(sound);
    while (!async && Playing(sound)) sdl_->Delay(5);
    return true;
  }

  void Stop() { SetCurrent(nullptr); }

  void ForgetAll() {
    Stop();
    prepared_.clear();
    oneOff_.reset();
  }

  void Close() {
    ForgetAll();
    Unpark();  // the device's thread must run to its end
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

  Decoded* Prepared(const void* image) {
    for (auto& sound : prepared_)
      if (sound->image == image &&
          std::memcmp(sound->head.data(), image, std::min(sound->head.size(), sound->size)) == 0)
        return sound.get();
    return nullptr;
  }

  void Forget(const void* image) {
    const auto it = std::find_if(prepared_.begin(), prepared_.end(),
                                 [image](const auto& sound) { return sound->image == image; });
    if (it == prepared_.end()) return;
    if (Playing(it->get())) Stop();
    prepared_.erase(it);
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
      if (device_) {
        output_ = Output::Open;
        sdl_->PauseAudioDevice(device_, 0);
      } else {
        std::fprintf(stderr, "No sound output (%s): the program runs silent.\n", sdl_->GetError());
      }
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
      Unpark();
      silenceCheck_.start();
    } else {
      Park();
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
  bool Playing(const Decoded* sound) { return sound && Current() == sound; }

  // A silent device's thread would wake for every buffer, to play silence. Parked, it waits on
  // the device's lock, held here from the end of a sound to the start of the next; the device
  // plays out what it was given and then runs dry, which costs nothing.
  void Park() {
    silenceCheck_.stop();
    if (!device_ || parked_) return;
    sdl_->LockAudioDevice(device_);
    parked_ = true;
  }
  void Unpark() {
    if (!parked_) return;
    parked_ = false;
    sdl_->UnlockAudioDevice(device_);
  }
  void ParkWhenSilent() {
    if (!Current()) Park();
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
  std::vector<std::unique_ptr<Decoded>> prepared_;
  std::unique_ptr<Decoded> oneOff_;  // the last sound played that was not prepared
  Output output_ = Output::Untried;
  bool initialised_ = false;
  SDL_AudioDeviceID device_ = 0;
  SDL_AudioSpec open_{};
  const Decoded* current_ = nullptr;  // guarded by the device's lock
  std::size_t position_ = 0;          // bytes of current_ played
  bool parked_ = false;               // this thread holds the device's lock
  QTimer silenceCheck_;               // while a sound plays: parks the device once it ends
};

// Never destroyed: the device ends with the process, without waiting.
Player& ThePlayer() {
  static Player* player = new Player;
  return *player;
}

}  // namespace

bool sndPlaySoundA(const void* sound, unsigned flags) {
  if (Observer()) Observer()(sound, flags);
  if (!sound) {
    ThePlayer().Stop();
    return true;
  }
  if (!(flags & SND_MEMORY)) return false;
  return ThePlayer().Play(sound, flags & SND_ASYNC);
}

bool PrepareSound(const void* image, std::size_t size) {
  return image && ThePlayer().Prepare(image, size);
}

void ForgetSounds() {
  ThePlayer().ForgetAll();
}

void CloseSoundOutput() {
  ThePlayer().Close();
}

void SetSoundObserver(std::function<void(const void*, unsigned)> observer) {
  Observer() = std::move(observer);
}

}  // namespace slatewick
