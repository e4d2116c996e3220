#include "platform/Sound.h"

#define SDL_MAIN_HANDLED
#include <SDL.h>

#include <cstring>
#include <vector>

namespace {

std::function<void(const void*, unsigned)>& Observer() {
  static std::function<void(const void*, unsigned)> observer;
  return observer;
}

// One output device, reopened when a sound of another format arrives. Decoded sounds are kept
// beside a copy of their image (the program plays the same image again and again).
class Player {
 public:
  ~Player() {
    if (device_) SDL_CloseAudioDevice(device_);
    if (initialised_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }

  void Stop() {
    if (device_) SDL_ClearQueuedAudio(device_);
  }

  bool Play(const void* image, bool async) {
    if (!Ready()) return false;
    const Decoded* sound = Decode(image);
    if (!sound || !OpenFor(sound->format)) return false;
    SDL_ClearQueuedAudio(device_);
    if (SDL_QueueAudio(device_, sound->pcm.data(), Uint32(sound->pcm.size())) != 0) return false;
    SDL_PauseAudioDevice(device_, 0);
    while (!async && SDL_GetQueuedAudioSize(device_) > 0) SDL_Delay(5);
    return true;
  }

 private:
  struct Decoded {
    std::vector<Uint8> image;  // the RIFF image it was decoded from
    std::vector<Uint8> pcm;
    SDL_AudioSpec format{};
  };

  bool Ready() {
    if (!triedInit_) {
      triedInit_ = true;
      SDL_SetMainReady();
      initialised_ = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
    }
    return initialised_;
  }

  // The size of a RIFF WAVE image from its header, or 0 when it is not one.
  static std::size_t ImageSize(const void* image) {
    const auto* bytes = static_cast<const unsigned char*>(image);
    if (std::memcmp(bytes, "RIFF", 4) != 0 || std::memcmp(bytes + 8, "WAVE", 4) != 0) return 0;
    const std::uint32_t chunk =
        bytes[4] | (bytes[5] << 8) | (bytes[6] << 16) | (std::uint32_t(bytes[7]) << 24);
    return std::size_t(chunk) + 8;
  }

  const Decoded* Decode(const void* image) {
    const std::size_t size = ImageSize(image);
    if (size == 0) return nullptr;
    const auto* bytes = static_cast<const Uint8*>(image);
    for (const Decoded& d : cache_)
      if (d.image.size() == size && std::memcmp(d.image.data(), bytes, size) == 0) return &d;
    if (cache_.size() >= 4) cache_.erase(cache_.begin());
    Decoded d;
    d.image.assign(bytes, bytes + size);
    Uint8* buffer = nullptr;
    Uint32 length = 0;
    SDL_RWops* rw = SDL_RWFromConstMem(image, int(size));
    if (!SDL_LoadWAV_RW(rw, 1, &d.format, &buffer, &length)) return nullptr;
    d.pcm.assign(buffer, buffer + length);
    SDL_FreeWAV(buffer);
    cache_.push_back(std::move(d));
    return &cache_.back();
  }

  bool OpenFor(const SDL_AudioSpec& format) {
    if (device_ && format.freq == open_.freq && format.format == open_.format &&
        format.channels == open_.channels)
      return true;
    if (device_) SDL_CloseAudioDevice(device_);
    SDL_AudioSpec wanted = format;
    wanted.callback = nullptr;
    wanted.samples = 512;
    device_ = SDL_OpenAudioDevice(nullptr, 0, &wanted, &open_, 0);
    return device_ != 0;
  }

  bool triedInit_ = false;
  bool initialised_ = false;
  SDL_AudioDeviceID device_ = 0;
  SDL_AudioSpec open_{};
  std::vector<Decoded> cache_;
};

Player& ThePlayer() {
  static Player player;
  return player;
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

void SetSoundObserver(std::function<void(const void*, unsigned)> observer) {
  Observer() = std::move(observer);
}
