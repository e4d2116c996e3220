#pragma once

namespace slatewick {

// Shows the program's message boxes as real Qt message boxes.
void InstallQtMessageBoxes();

}  // namespace slatewick
