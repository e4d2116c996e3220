#pragma once
#include <cstdint>

#include "files/Forms.h"

namespace slatewick {

// The export-kind dialog: the board picture alone (rbOnlypic) or the whole window (rbWithall,
// chosen when the program starts). The choice stays from one export to the next; OK stores
// it in ExportKind (0 board picture, 1 window picture).
class TfrmHowToExport : public TModalForm {
 public:
  TfrmHowToExport();

  TRadioButton rbOnlypic;
  TRadioButton rbWithall;
  TButton btnOK;
  TButton btnCancel;
  std::uint8_t ExportKind = 0;  // the last choice: 0 the board picture, 1 the window picture

  void FormCreate();
  void btnOKClick();
  void btnCancelClick();
};

}  // namespace slatewick
