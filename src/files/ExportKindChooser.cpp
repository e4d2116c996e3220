#include "files/ExportKindChooser.h"

#include "settings/Language.h"

namespace slatewick {

ExportKindChooser::ExportKindChooser() {
  WholeWindowButton.Checked = true;
}

void ExportKindChooser::ApplyTexts() {
  const LanguageFile language;
  Caption = language.Text(Texts::ExportKindTitle);
  BoardOnlyButton.Caption = language.Text(Texts::ExportBoardOnly);
  WholeWindowButton.Caption = language.Text(Texts::ExportWholeWindow);
  OkButton.Caption = language.Text(Texts::ExportKindOk);
  CancelButton.Caption = language.Text(Texts::ExportKindCancel);
}

void ExportKindChooser::Accept() {
  if (BoardOnlyButton.Checked) ExportKind = 0;
  if (WholeWindowButton.Checked) ExportKind = 1;
  Result = DialogResult::OK;
}

void ExportKindChooser::Cancel() {
  Result = DialogResult::Cancel;
}

}  // namespace slatewick
