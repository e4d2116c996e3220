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

  TSaveDialog dlgSave_;
};

}  // namespace slatewick
