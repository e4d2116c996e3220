#pragma once
#include <QDialog>

#include "files/ExportKindChooser.h"

class QPushButton;
class QRadioButton;

namespace slatewick {

// The export-kind dialog's window: fixed size, centred over the main window, two radio
// buttons and OK / Cancel. Escape and the close box are Cancel.
class ExportKindDialog : public QDialog {
  Q_OBJECT

 public:
  static constexpr int ClientWidth = 318, ClientHeight = 93;

  explicit ExportKindDialog(QWidget* parent);

  ExportKindChooser& Form() { return form_; }
  QRadioButton* OnlypicButton() const { return boardOnlyButton_; }
  QRadioButton* WithallButton() const { return wholeWindowButton_; }
  QPushButton* OKButton() const { return okButton_; }
  QPushButton* CancelButton() const { return cancelButton_; }

  void ShowFields();
  void reject() override;

 private:
  ExportKindChooser form_;
  QRadioButton* boardOnlyButton_;
  QRadioButton* wholeWindowButton_;
  QPushButton* okButton_;
  QPushButton* cancelButton_;
};

}  // namespace slatewick
