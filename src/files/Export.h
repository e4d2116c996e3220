#pragma once
#include <QDateTime>
#include <QImage>
#include <QString>
#include <functional>

namespace slatewick {

class BoardAccess;
class ExportKindChooser;

// The export's save-file dialog, kept for the whole run: it starts from the last chosen name
// and file type. The window behind it asks before overwriting and adds DefaultExt to a name
// typed without one.
struct SaveFileModel {
  QString Filter;  // QFileDialog name filters, separated by ";;"
  QString DefaultExt = QStringLiteral("bmp");
  QString FileName;     // the chosen file, a full path
  int FilterIndex = 0;  // the chosen file type, 0 for the first
  // Shows the dialog; true when the user chose a name (FileName and FilterIndex then set).
  std::function<bool(SaveFileModel&)> OnExecute;

  bool Execute() { return OnExecute && OnExecute(*this); }
};

enum class PictureFormat { None, Bmp, Jpeg, Png };
// The format a file name asks for by its extension (from the name's last "." on), in any
// letter case: ".bmp" BMP, ".jpg" and ".jpeg" JPEG, ".png" PNG, anything else none.
PictureFormat PictureFormatOf(const QString& fileName);

// "yyyy_mm_dd_hh_nn_ss_zzz.jpg" of the given local time, e.g. 2026_12_06_19_26_11_123.jpg.
QString ScreenShotName(const QDateTime& when);

// The export command: with the frame timer stopped, asks for a file and the kind of picture,
// then writes the board picture or the window picture, as the export-kind dialog chose, as BMP,
// JPEG or PNG by the name's extension, each replacing the file in one step. The timer runs again on
// every way out. Failures show the error box; a name with another extension writes nothing and says
// so (Texts::ExportExtension, with the file name in its placeholder).
void ExportPicture(BoardAccess& board, SaveFileModel& saveFile, ExportKindChooser& exportKind);
// The screenshot: the window picture as JPEG in the screenshot folder (Places), named by the
// local time.
void TakeScreenShot(BoardAccess& board);

}  // namespace slatewick
