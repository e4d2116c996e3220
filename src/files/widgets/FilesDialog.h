#pragma once
#include <QDialog>

#include "files/Unit_Files.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace slatewick {

// The board-file chooser's window: a sizeable dialog (client 396 x 421 at least) whose
// controls keep their distances to the anchored sides. It shows TfrmFiles' fields and passes
// the user's actions to its handlers; closing it by Escape or the close box is Cancel.
class FilesDialog : public QDialog {
  Q_OBJECT

 public:
  static constexpr int DesignWidth = 396, DesignHeight = 421;  // client pixels

  FilesDialog(BoardAccess& board, QWidget* parent);

  TfrmFiles& Form() { return form_; }
  QLabel* Label() const { return lbl_; }
  QLineEdit* FileNameEdit() const { return edtFileName_; }
  QListWidget* FileList() const { return lstFiles_; }
  QPushButton* OKButton() const { return btnOK_; }
  QPushButton* CancelButton() const { return btnCancel_; }

  // Shows the form's fields in the controls.
  void ShowFields();
  void reject() override;

 protected:
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Run();
  void AfterHandler();
  void PlaceControls();

  TfrmFiles form_;
  QLabel* lbl_;
  QLineEdit* edtFileName_;
  QListWidget* lstFiles_;
  QPushButton* btnOK_;
  QPushButton* btnCancel_;
  bool showing_ = false;         // controls are being filled from the form
  bool closeOnRelease_ = false;  // a double click chose: close at its button's release
};

}  // namespace slatewick
