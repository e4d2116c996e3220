#include "platform/KeyState.h"

KeyState& CurrentKeys() {
  static KeyState keys;
  return keys;
}
