#pragma once
#include "files/Forms.h"

class TfrmMain;

// The export-kind dialog: the board picture alone (rbOnlypic) or the whole window (rbWithall,
// chosen when the program starts). The choice stays from one export to the next; OK stores
// it in ExportKind (0 board picture, 1 window picture).
class TfrmHowToExport : public TModalForm {
 public:
  explicit TfrmHowToExport(TfrmMain& frmMain);

  TRadioButton rbOnlypic;
  TRadioButton rbWithall;
  TButton btnOK;
  TButton btnCancel;

  void FormCreate();
  void btnOKClick();
  void btnCancelClick();

 private:
  TfrmMain& frmMain_;
};
