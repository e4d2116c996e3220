#pragma once
#include <QFileDialog>
#include <QPointer>

#include "files/Export.h"

namespace slatewick {

// The export's save-file dialog: asks before overwriting, resizable, kept for the run so it
// starts from the last name and file type. A name typed without an extension gets the one of
// the chosen file type (DefaultExt for the type of all files). Qt's dialog window is made at the
// first export: Qt stores its state in its own settings file when it is destroyed, so a run
// without an export stores none.
class SaveDialog : public QObject {
  Q_OBJECT

 public:
  explicit SaveDialog(QWidget* parent);
  ~SaveDialog() override;

  SaveFileModel& Dialog() { return dlgSave_; }
  // Qt's dialog window, made now if it is not yet.
  QFileDialog& Window();

 private:
  bool Run(SaveFileModel& saveFile);
  void UseSuffixOf(const QString& nameFilter);
  // Whether the file list follows changes in its folder: only while the dialog is open, since
  // the list would otherwise look at every change there (a busy home folder) for the whole run.
  void FollowFolder(bool follow);

  QWidget* parent_;
  QPointer<QFileDialog> window_;  // a child of parent_, once made
  SaveFileModel dlgSave_;
};

}  // namespace slatewick
