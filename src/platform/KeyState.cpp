#include "platform/KeyState.h"

namespace slatewick {

KeyState& CurrentKeys() {
  static KeyState keys;
  return keys;
}

}  // namespace slatewick
