#pragma once

namespace slatewick {

// The state of the mouse buttons and modifier keys that belongs to the input event being
// handled (or, between events, to the last one). The shell updates it before every handler;
// tests set it directly.
struct KeyState {
  bool Left = false;
  bool Right = false;
  bool Middle = false;
  bool Ctrl = false;
  bool Shift = false;
};

}  // namespace slatewick
