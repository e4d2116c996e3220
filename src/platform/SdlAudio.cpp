#include "platform/SdlAudio.h"

#include <dlfcn.h>

#include <cstdio>
#include <string>
#include <type_traits>

namespace slatewick {

namespace {

// Fills the table from the library; false, with the reason in `why`, if anything is missing.
bool Load(SdlAudio& sdl, std::string& why) {
  void* library = dlopen("libSDL2-2.0.so.0", RTLD_NOW | RTLD_LOCAL);
  if (!library) {
    why = dlerror();
    return false;
  }
  bool complete = true;
  const auto take = [&](auto& function, const char* name) {
    function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(dlsym(library, name));
    if (!function && complete) {
      why = std::string(name) + " is missing from libSDL2-2.0.so.0";
      complete = false;
    }
  };
  take(sdl.RWFromConstMem, "SDL_RWFromConstMem");
  take(sdl.LoadWAV_RW, "SDL_LoadWAV_RW");
  take(sdl.FreeWAV, "SDL_FreeWAV");
  take(sdl.Delay, "SDL_Delay");
  take(sdl.SetHint, "SDL_SetHint");
  take(sdl.SetMainReady, "SDL_SetMainReady");
  take(sdl.InitSubSystem, "SDL_InitSubSystem");
  take(sdl.QuitSubSystem, "SDL_QuitSubSystem");
  take(sdl.OpenAudioDevice, "SDL_OpenAudioDevice");
  take(sdl.CloseAudioDevice, "SDL_CloseAudioDevice");
  take(sdl.PauseAudioDevice, "SDL_PauseAudioDevice");
  take(sdl.LockAudioDevice, "SDL_LockAudioDevice");
  take(sdl.UnlockAudioDevice, "SDL_UnlockAudioDevice");
  take(sdl.BuildAudioCVT, "SDL_BuildAudioCVT");
  take(sdl.ConvertAudio, "SDL_ConvertAudio");
  take(sdl.GetError, "SDL_GetError");
  // A complete library stays loaded to the end of the process, as a linked one would.
  if (!complete) dlclose(library);
  return complete;
}

}  // namespace

const SdlAudio* Sdl() {
  static const SdlAudio* const table = [] {
    static SdlAudio sdl{};
    std::string why;
    if (Load(sdl, why)) return &sdl;
    std::fprintf(stderr, "No sound output (%s): the program runs silent.\n", why.c_str());
    return static_cast<SdlAudio*>(nullptr);
  }();
  return table;
}

}  // namespace slatewick
