#pragma once
#include <cstdint>
#include <functional>

constexpr unsigned SND_ASYNC = 0x0001;
constexpr unsigned SND_MEMORY = 0x0004;

// Plays a complete RIFF WAVE image held in memory (SND_MEMORY). A null pointer stops what
// plays. A new sound stops the old one and starts from its beginning; with SND_ASYNC the call
// returns at once. The image must stay alive while it plays. No audio device means silence.
bool sndPlaySoundA(const void* sound, unsigned flags);

// Every call is reported here first (tests observe the calls).
void SetSoundObserver(std::function<void(const void* sound, unsigned flags)> observer);
