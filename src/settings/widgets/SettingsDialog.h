#pragma once
#include <QDialog>
#include <array>

#include "settings/SettingsForm.h"

class QCheckBox;
class QFrame;
class QLabel;
class QPushButton;

namespace slatewick {

// The settings dialog's window: a fixed 301 x 332 client area with the seven check boxes, the
// chalk picture in its panel, three labels, OK (default) and Cancel (Esc). It shows the
// fields of SettingsForm and hands the user's clicks to it. Cancel, Esc and the close box leave
// everything as it was.
class SettingsDialog : public QDialog {
 public:
  SettingsDialog(Settings& settings, const QImage& chalkSamples, QWidget* parent);

  SettingsForm& Form() { return form_; }
  // Applies the texts once (the dialog's creation).
  void ApplyTexts();
  // Shows the dialog modally until OK or Cancel closes it (the menu's settings command).
  void ShowModal();

  QCheckBox& Box(int i) { return *checks_[std::size_t(i)]; }
  QPushButton& OkButton() { return *okButton_; }
  QPushButton& CancelButton() { return *cancelButton_; }
  QFrame& Panel() { return *panel_; }
  QLabel& Image() { return *picture_; }
  QLabel& SampleLabel(int i) { return *labels_[std::size_t(i)]; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void Accept();

  SettingsForm form_;
  std::array<QCheckBox*, 7> checks_{};
  QFrame* panel_;
  QLabel* picture_;
  std::array<QLabel*, 3> labels_{};
  QPushButton* okButton_;
  QPushButton* cancelButton_;
};

}  // namespace slatewick
