#pragma once
#include <QDialog>

#include "files/BoardChooser.h"
#include "files/BoardThumbnails.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace slatewick {

// The board-file chooser's window: a sizeable dialog (client 646 x 421 at least) whose
// controls keep their distances to the anchored sides. It shows BoardChooser' fields and passes
// the user's actions to its handlers; closing it by Escape or the close box is Cancel. Beside the
// list, a frame shows the selected board's thumbnail once it has been made off this thread (an
// empty frame until then, and for a file that is not a board).
class BoardChooserDialog : public QDialog {
  Q_OBJECT

 public:
  static constexpr int DesignWidth = 646, DesignHeight = 421;  // client pixels
  static constexpr QSize ThumbnailSize{240, 130};              // an 800 x 432 board at 0.3

  // Only board files of the size the board's picture has now show a thumbnail.
  BoardChooserDialog(BoardAccess& board, QWidget* parent);

  BoardChooser& Form() { return form_; }
  QLabel* PromptLabel() const { return prompt_; }
  QLineEdit* FileNameEdit() const { return titleEdit_; }
  QListWidget* FileList() const { return titleList_; }
  QPushButton* OKButton() const { return okButton_; }
  QPushButton* CancelButton() const { return cancelButton_; }
  QLabel* ThumbnailFrame() const { return thumbnail_; }
  BoardThumbnails& Thumbnails() { return thumbnails_; }

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
  void ShowThumbnail();

  BoardChooser form_;
  BoardThumbnails thumbnails_;
  QString thumbnailPath_;  // the board file whose thumbnail the frame shows or waits for
  QLabel* prompt_;
  QLineEdit* titleEdit_;
  QListWidget* titleList_;
  QPushButton* okButton_;
  QPushButton* cancelButton_;
  QLabel* thumbnail_;
  bool showing_ = false;         // controls are being filled from the form
  bool closeOnRelease_ = false;  // a double click chose: close at its button's release
};

}  // namespace slatewick
