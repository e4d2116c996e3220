#pragma once
#define SDL_MAIN_HANDLED
#include <SDL.h>

namespace slatewick {

// The SDL functions the sound output calls, taken from libSDL2 at run time: the library and the
// thirty it needs load at the first sound instead of holding up the program's start. Linked
// normally, they put off the first window by about 17 ms (85 to 102 ms, medians of 180 starts
// each under Xvfb, bench/startup_figures.sh) and cost 4 ms more CPU at every start.
struct SdlAudio {
  decltype(&SDL_RWFromConstMem) RWFromConstMem;
  decltype(&SDL_LoadWAV_RW) LoadWAV_RW;
  decltype(&SDL_FreeWAV) FreeWAV;
  decltype(&SDL_Delay) Delay;
  decltype(&SDL_SetHint) SetHint;
  decltype(&SDL_SetMainReady) SetMainReady;
  decltype(&SDL_InitSubSystem) InitSubSystem;
  decltype(&SDL_QuitSubSystem) QuitSubSystem;
  decltype(&SDL_OpenAudioDevice) OpenAudioDevice;
  decltype(&SDL_CloseAudioDevice) CloseAudioDevice;
  decltype(&SDL_PauseAudioDevice) PauseAudioDevice;
  decltype(&SDL_LockAudioDevice) LockAudioDevice;
  decltype(&SDL_UnlockAudioDevice) UnlockAudioDevice;
  decltype(&SDL_BuildAudioCVT) BuildAudioCVT;
  decltype(&SDL_ConvertAudio) ConvertAudio;
  decltype(&SDL_GetError) GetError;
};

// The table, loaded at the first call (main thread only) and kept for the life of the process;
// null when the library or one of its functions is missing, which stderr is told once.
const SdlAudio* Sdl();

}  // namespace slatewick
