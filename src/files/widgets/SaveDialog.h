#pragma once
#include <QFileDialog>

#include "files/Export.h"

namespace slatewick {

// The export's save-file dialog: asks before overwriting, resizable, kept for the run so it
// starts from the last name and file type. A name typed without an extension gets the one of
// the chosen file type (DefaultExt for the type of all files).
class SaveDialog : public QFileDialog {
  Q_OBJECT

 public:
  explicit SaveDialog(QWidget* parent);

  TSaveDialog& Dialog() { return dlgSave_; }

 private:
  bool Run(TSaveDialog& dlgSave);
  void UseSuffixOf(const QString& nameFilter);
  // Whether the file list follows changes in its folder: only while the dialog is open, since
  // the list would otherwise look at every change there (a busy home folder) for the whole run.
  void FollowFolder(bool follow);

  TSaveDialog dlgSave_;
};

}  // namespace slatewick
