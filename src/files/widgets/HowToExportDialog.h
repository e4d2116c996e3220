#pragma once
#include <QDialog>

#include "files/Unit_howtoexport.h"

class QPushButton;
class QRadioButton;

namespace slatewick {

// The export-kind dialog's window: fixed size, centred over the main window, two radio
// buttons and OK / Cancel. Escape and the close box are Cancel.
class HowToExportDialog : public QDialog {
  Q_OBJECT

 public:
  static constexpr int ClientWidth = 318, ClientHeight = 93;

  explicit HowToExportDialog(QWidget* parent);

  TfrmHowToExport& Form() { return form_; }
  QRadioButton* OnlypicButton() const { return rbOnlypic_; }
  QRadioButton* WithallButton() const { return rbWithall_; }
  QPushButton* OKButton() const { return btnOK_; }
  QPushButton* CancelButton() const { return btnCancel_; }

  void ShowFields();
  void reject() override;

 private:
  TfrmHowToExport form_;
  QRadioButton* rbOnlypic_;
  QRadioButton* rbWithall_;
  QPushButton* btnOK_;
  QPushButton* btnCancel_;
};

}  // namespace slatewick
