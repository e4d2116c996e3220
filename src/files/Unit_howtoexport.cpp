#include "files/Unit_howtoexport.h"

#include "settings/Language.h"

namespace slatewick {

TfrmHowToExport::TfrmHowToExport() {
  rbWithall.Checked = true;
}

void TfrmHowToExport::FormCreate() {
  const LanguageFile language;
  Caption = language.Text(Texts::ExportTitle);
  rbOnlypic.Caption = language.Text(Texts::Onlypic);
  rbWithall.Caption = language.Text(Texts::Withall);
  btnOK.Caption = language.Text(Texts::ExportOK);
  btnCancel.Caption = language.Text(Texts::ExportCancel);
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
