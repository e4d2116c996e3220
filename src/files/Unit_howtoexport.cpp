#include "files/Unit_howtoexport.h"

#include "settings/Language.h"

namespace slatewick {

TfrmHowToExport::TfrmHowToExport() {
  rbWithall.Checked = true;
}

void TfrmHowToExport::FormCreate() {
  const LanguageFile language;
  Caption = language.Text(Texts::ExportKindTitle);
  rbOnlypic.Caption = language.Text(Texts::ExportBoardOnly);
  rbWithall.Caption = language.Text(Texts::ExportWholeWindow);
  btnOK.Caption = language.Text(Texts::ExportKindOk);
  btnCancel.Caption = language.Text(Texts::ExportKindCancel);
}

void TfrmHowToExport::btnOKClick() {
  if (rbOnlypic.Checked) ExportKind = 0;
  if (rbWithall.Checked) ExportKind = 1;
  ModalResult = TModalResult::OK;
}

void TfrmHowToExport::btnCancelClick() {
  ModalResult = TModalResult::Cancel;
}

}  // namespace slatewick
