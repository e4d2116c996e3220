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

KeyState& CurrentKeys();

// Virtual-key codes of the keys the board handles.
constexpr int VK_RETURN = 13;
constexpr int VK_ESCAPE = 27;
constexpr int VK_LEFT = 37;
constexpr int VK_RIGHT = 39;
constexpr int VK_F12 = 123;

}  // namespace slatewick
