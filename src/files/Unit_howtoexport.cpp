#include "files/Unit_howtoexport.h"

#include "board/Unit_Main.h"
#include "settings/Language.h"

TfrmHowToExport::TfrmHowToExport(TfrmMain& frmMain) : frmMain_(frmMain) {
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
  if (rbOnlypic.Checked) frmMain_.st.ExportKind = 0;
  if (rbWithall.Checked) frmMain_.st.ExportKind = 1;
  ModalResult = TModalResult::OK;
}

void TfrmHowToExport::btnCancelClick() {
  ModalResult = TModalResult::Cancel;
}
