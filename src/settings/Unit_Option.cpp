#include "settings/Unit_Option.h"

#include "board/Unit_Main.h"
#include "settings/ChalkSamples.h"
#include "settings/Language.h"
#include "settings/SettingsFile.h"

TfrmOption::TfrmOption(BoardState& board) : Image1(DrawChalkSamples(board)), settings_(board.Opt) {}

std::array<TCheckBox*, 7> TfrmOption::CheckBoxes() {
  return {&chkYogore,   &chkKyoriSeigen,  &chkRunWithDay, &chkNewWithDay,
          &chkShowKona, &chkKadoOnlyCtrl, &chkShowDebug};
}

Settings TfrmOption::Checked() const {
  return {chkYogore.Checked,     chkKyoriSeigen.Checked, chkRunWithDay.Checked,
          chkNewWithDay.Checked, chkShowKona.Checked,    chkKadoOnlyCtrl.Checked,
          chkShowDebug.Checked};
}

void TfrmOption::FormCreate() {
  const LanguageFile language;
  Caption.Caption = language.Text(Texts::OptionTitle);
  chkYogore.Caption = language.Text(Texts::Dirt);
  chkKyoriSeigen.Caption = language.Text(Texts::ChalkRange);
  chkRunWithDay.Caption = language.Text(Texts::RunWithDay);
  chkNewWithDay.Caption = language.Text(Texts::ClearWithDay);
  chkShowKona.Caption = language.Text(Texts::ShowDust);
  chkKadoOnlyCtrl.Caption = language.Text(Texts::AngleWithCtrl);
  chkShowDebug.Caption = language.Text(Texts::ShowDebug);
  Label1.Caption = language.Text(Texts::ChalkA);
  Label2.Caption = language.Text(Texts::ChalkB);
  Label3.Caption = language.Text(Texts::ChalkC);
  btnOK.Caption = language.Text(Texts::OptionOK);
  btnCancel.Caption = language.Text(Texts::OptionCancel);
}

void TfrmOption::FormShow() {
  chkYogore.Checked = settings_.Yogore;
  chkKyoriSeigen.Checked = settings_.KyoriSeigen;
  chkRunWithDay.Checked = settings_.RunWithDay;
  chkNewWithDay.Checked = settings_.NewWithDay;
  chkShowKona.Checked = settings_.ShowKona;
  chkKadoOnlyCtrl.Checked = settings_.KadoOnlyCtrl;
  chkShowDebug.Checked = settings_.ShowDebug;
}

bool TfrmOption::btnOKClick() {
  return WriteSettings(Checked(), settings_);
}
