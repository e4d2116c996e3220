#pragma once
#include <cstddef>
#include <functional>

namespace slatewick {

constexpr unsigned SND_ASYNC = 0x0001;
constexpr unsigned SND_MEMORY = 0x0004;
// The largest sound image the program reads or plays, in bytes.
constexpr std::size_t MaxSoundBytes = std::size_t(16) << 20;

// Plays a complete RIFF WAVE image held in memory (SND_MEMORY). A null pointer stops what
// plays. A new sound stops the old one and starts from its beginning; with SND_ASYNC the call
// returns at once. The image must stay alive while it plays. The output device is opened once,
// at the first sound, and kept (its thread rests while nothing plays, from a moment after a
// sound ends); without one every sound is silent, and stderr says so once. SDL2
// itself is loaded at the first sound or preparation; without it too every sound is silent.
bool sndPlaySoundA(const void* sound, unsigned flags);

// Decodes an image of `size` bytes once, so that every later play of that memory starts it
// without decoding, allocating or copying anything. The image must stay in memory, unchanged,
// until ForgetSounds. False for an image that cannot be played (its plays are silent).
bool PrepareSound(const void* image, std::size_t size);
// Stops what plays and forgets the prepared images (before their memory is freed). The device
// stays open until the process ends: closing it waits for its buffers to drain and for the
// system's device search, which would hold up the end of the program.
void ForgetSounds();
// Closes the device and the audio system too; the next sound starts afresh (tests).
void CloseSoundOutput();

// Every call is reported here first (tests observe the calls).
void SetSoundObserver(std::function<void(const void* sound, unsigned flags)> observer);

}  // namespace slatewick
