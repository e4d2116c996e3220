#pragma once
#include <QImage>
#include <QString>
#include <array>

#include "platform/FormModel.h"
#include "settings/Settings.h"

namespace slatewick {

// The settings dialog: the captions and states of its controls and what its events do. The
// window shell shows these fields and feeds the user's clicks back into them.
class SettingsForm {
 public:
  // The dialog shows and changes settings; chalkSamples is its picture of the three ways of
  // using the chalk (267 x 73, drawn by the board).
  SettingsForm(Settings& settings, QImage chalkSamples);

  QString Caption;  // the window's caption
  CheckBox LeaveSmudgeBox, LimitStrokeLengthBox, DateAtStartBox, DateAfterClearBox, ShowDustBox,
      CornerOnlyWithCtrlBox, ShowDebugBox;
  QImage ChalkSamples;  // 267 x 73, the three ways of using the chalk
  Label NormalChalkLabel, ChalkCornerLabel, LaidChalkLabel;
  Button OkButton, CancelButton;

  // The seven boxes in the order of the settings.
  std::array<CheckBox*, 7> CheckBoxes();
  // The settings as the boxes stand.
  Settings Checked() const;

  // Applies the texts of the language file, each with the dialog's own default. Once.
  void ApplyTexts();
  // Sets each box from its setting. Each time the dialog is shown.
  void OnShow();
  // Writes the seven settings to the settings file in their order and, once it is closed, into
  // the settings: a box the user changed gives its state, one left as shown the value the file
  // holds now. False when the file could not be written (the error has been shown, the settings
  // are as they were): the dialog then stays open with the user's choices.
  bool Accept();

 private:
  Settings& settings_;
  Settings shown_;  // the settings as the boxes were set when the dialog was shown
};

}  // namespace slatewick
