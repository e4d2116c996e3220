#include "settings/SettingsForm.h"

#include <utility>

#include "settings/Language.h"
#include "settings/SettingsFile.h"

namespace slatewick {

SettingsForm::SettingsForm(Settings& settings, QImage chalkSamples)
    : ChalkSamples(std::move(chalkSamples)), settings_(settings) {}

namespace {

// Each box with its setting and its caption's text, in the order of the settings.
struct Box {
  CheckBox SettingsForm::*Control;
  bool Settings::*Value;
  const TextKey& Label;
};
const std::array<Box, 7> Boxes{{
    {&SettingsForm::LeaveSmudgeBox, &Settings::LeaveSmudge, Texts::LeaveSmudge},
    {&SettingsForm::LimitStrokeLengthBox, &Settings::LimitStrokeLength, Texts::LimitStrokeLength},
    {&SettingsForm::DateAtStartBox, &Settings::DateAtStart, Texts::DateAtStart},
    {&SettingsForm::DateAfterClearBox, &Settings::DateAfterClear, Texts::DateAfterClear},
    {&SettingsForm::ShowDustBox, &Settings::ShowDust, Texts::ShowDust},
    {&SettingsForm::CornerOnlyWithCtrlBox, &Settings::CornerOnlyWithCtrl,
     Texts::CornerOnlyWithCtrl},
    {&SettingsForm::ShowDebugBox, &Settings::ShowDebug, Texts::ShowDebug},
}};

}  // namespace

std::array<CheckBox*, 7> SettingsForm::CheckBoxes() {
  std::array<CheckBox*, 7> boxes{};
  for (std::size_t i = 0; i < Boxes.size(); ++i) boxes[i] = &(this->*Boxes[i].Control);
  return boxes;
}

Settings SettingsForm::Checked() const {
  Settings settings;
  for (const Box& box : Boxes) settings.*box.Value = (this->*box.Control).Checked;
  return settings;
}

void SettingsForm::ApplyTexts() {
  const LanguageFile language;
  Caption = language.Text(Texts::SettingsTitle);
  for (const Box& box : Boxes) (this->*box.Control).Caption = language.Text(box.Label);
  NormalChalkLabel.Caption = language.Text(Texts::NormalChalkLabel);
  ChalkCornerLabel.Caption = language.Text(Texts::ChalkCornerLabel);
  LaidChalkLabel.Caption = language.Text(Texts::LaidChalkLabel);
  OkButton.Caption = language.Text(Texts::SettingsOk);
  CancelButton.Caption = language.Text(Texts::SettingsCancel);
}

void SettingsForm::OnShow() {
  shown_ = settings_;
  for (const Box& box : Boxes) (this->*box.Control).Checked = settings_.*box.Value;
}

bool SettingsForm::Accept() {
  // Another running program may have changed the file since this dialog was shown: the boxes the
  // user left alone take the file's values as they are now, so that its change is not undone.
  Settings values = Checked();
  const Settings onDisk = ReadSettings();
  for (const Box& box : Boxes)
    if ((this->*box.Control).Checked == shown_.*box.Value) values.*box.Value = onDisk.*box.Value;
  return WriteSettings(values, settings_);
}

}  // namespace slatewick
