#pragma once
#include <cstdint>

#include "platform/FormModel.h"

namespace slatewick {

// The export-kind dialog: the board picture alone (BoardOnlyButton) or the whole window
// (WholeWindowButton, chosen when the program starts). The choice stays from one export to the
// next; OK stores it in ExportKind (0 board picture, 1 window picture).
class ExportKindChooser : public ModalForm {
 public:
  ExportKindChooser();

  RadioButton BoardOnlyButton;
  RadioButton WholeWindowButton;
  Button OkButton;
  Button CancelButton;
  std::uint8_t ExportKind = 0;  // the last choice: 0 the board picture, 1 the window picture

  void ApplyTexts();
  void Accept();
  void Cancel();
};

}  // namespace slatewick
