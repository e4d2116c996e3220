#include "settings/Unit_Option.h"

#include <utility>

#include "settings/Language.h"
#include "settings/SettingsFile.h"

namespace slatewick {

TfrmOption::TfrmOption(Settings& settings, QImage chalkSamples)
    : Image1(std::move(chalkSamples)), settings_(settings) {}

namespace {

// Each box with its setting and its caption's text, in the order of the settings.
struct Box {
  TCheckBox TfrmOption::*CheckBox;
  bool Settings::*Value;
  const TextKey& Label;
};
const std::array<Box, 7> Boxes{{
    {&TfrmOption::chkYogore, &Settings::Yogore, Texts::Dirt},
    {&TfrmOption::chkKyoriSeigen, &Settings::KyoriSeigen, Texts::ChalkRange},
    {&TfrmOption::chkRunWithDay, &Settings::RunWithDay, Texts::RunWithDay},
    {&TfrmOption::chkNewWithDay, &Settings::NewWithDay, Texts::ClearWithDay},
    {&TfrmOption::chkShowKona, &Settings::ShowKona, Texts::ShowDust},
    {&TfrmOption::chkKadoOnlyCtrl, &Settings::KadoOnlyCtrl, Texts::AngleWithCtrl},
    {&TfrmOption::chkShowDebug, &Settings::ShowDebug, Texts::ShowDebug},
}};

}  // namespace

std::array<TCheckBox*, 7> TfrmOption::CheckBoxes() {
  std::array<TCheckBox*, 7> boxes{};
  for (std::size_t i = 0; i < Boxes.size(); ++i) boxes[i] = &(this->*Boxes[i].CheckBox);
  return boxes;
}

Settings TfrmOption::Checked() const {
  Settings settings;
  for (const Box& box : Boxes) settings.*box.Value = (this->*box.CheckBox).Checked;
  return settings;
}

void TfrmOption::FormCreate() {
  const LanguageFile language;
  Caption.Caption = language.Text(Texts::OptionTitle);
  for (const Box& box : Boxes) (this->*box.CheckBox).Caption = language.Text(box.Label);
  Label1.Caption = language.Text(Texts::ChalkA);
  Label2.Caption = language.Text(Texts::ChalkB);
  Label3.Caption = language.Text(Texts::ChalkC);
  btnOK.Caption = language.Text(Texts::OptionOK);
  btnCancel.Caption = language.Text(Texts::OptionCancel);
}

void TfrmOption::FormShow() {
  shown_ = settings_;
  for (const Box& box : Boxes) (this->*box.CheckBox).Checked = settings_.*box.Value;
}

bool TfrmOption::btnOKClick() {
  // Another running program may have changed the file since this dialog was shown: the boxes the
  // user left alone take the file's values as they are now, so that its change is not undone.
  Settings values = Checked();
  const Settings onDisk = ReadSettings();
  for (const Box& box : Boxes)
    if ((this->*box.CheckBox).Checked == shown_.*box.Value) values.*box.Value = onDisk.*box.Value;
  return WriteSettings(values, settings_);
}

}  // namespace slatewick
