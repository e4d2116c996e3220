#pragma once
#include <QImage>
#include <QString>
#include <array>

#include "settings/Settings.h"

namespace slatewick {

struct TCheckBox {
  QString Caption;
  bool Checked = false;
};

struct TCaption {
  QString Caption;
};

// The settings dialog: the captions and states of its controls and what its events do. The
// window shell shows these fields and feeds the user's clicks back into them.
class TfrmOption {
 public:
  // The dialog shows and changes settings; chalkSamples is its picture of the three ways of
  // using the chalk (267 x 73, drawn by the board).
  TfrmOption(Settings& settings, QImage chalkSamples);

  TCaption Caption;  // the window's caption
  TCheckBox chkYogore, chkKyoriSeigen, chkRunWithDay, chkNewWithDay, chkShowKona, chkKadoOnlyCtrl,
      chkShowDebug;
  QImage Image1;  // 267 x 73, the three ways of using the chalk
  TCaption Label1, Label2, Label3;
  TCaption btnOK, btnCancel;

  // The seven boxes in the order of the settings.
  std::array<TCheckBox*, 7> CheckBoxes();
  // The settings as the boxes stand.
  Settings Checked() const;

  // Applies the texts of the language file, each with the dialog's own default. Once.
  void FormCreate();
  // Sets each box from its setting. Each time the dialog is shown.
  void FormShow();
  // Writes the seven settings to the settings file in their order and, once it is closed, into
  // the settings: a box the user changed gives its state, one left as shown the value the file
  // holds now. False when the file could not be written (the error has been shown, the settings
  // are as they were): the dialog then stays open with the user's choices.
  bool btnOKClick();

 private:
  Settings& settings_;
  Settings shown_;  // the settings as the boxes were set when the dialog was shown
};

}  // namespace slatewick
