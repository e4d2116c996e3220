#pragma once
#include "platform/Clock.h"
#include "platform/KeyState.h"
#include "platform/Random.h"
#include "platform/Sound.h"

namespace slatewick {

// What the board's rules reach outside the board: the program's one random generator, the state
// of the mouse buttons and modifier keys that belongs to the input being handled, the clock and
// the sound output. The program builds one for its run; a test builds one with a scripted
// generator, a pinned clock and a sound output that records what it is asked to play.
struct Environment {
  Environment(Clock& clock, SoundOutput& sound) : clock(clock), sound(sound) {}
  Environment(const Environment&) = delete;
  Environment& operator=(const Environment&) = delete;

  Random random;
  KeyState keys;
  Clock& clock;
  SoundOutput& sound;
};

}  // namespace slatewick
