#include "files/Export.h"

#include <QFileInfo>

#include "board/BoardAccess.h"
#include "files/ExportKindChooser.h"
#include "files/TitleFormat.h"
#include "platform/AppError.h"
#include "platform/JpegWriter.h"
#include "platform/MessageBoxes.h"
#include "platform/PictureFiles.h"
#include "platform/Places.h"
#include "settings/Language.h"

namespace slatewick {

namespace {

void WritePicture(const QImage& picture, PictureFormat format, const QString& path) {
  if (format == PictureFormat::Bmp)
    WriteBmpFile(picture, path);
  else if (format == PictureFormat::Png)
    WritePngFile(picture, path);
  else
    WriteJpegFile(picture, path);
}

}  // namespace

PictureFormat PictureFormatOf(const QString& fileName) {
  const QString name = QFileInfo(fileName).fileName();
  const qsizetype dot = name.lastIndexOf(u'.');
  if (dot < 0) return PictureFormat::None;
  const QString extension = name.mid(dot).toLower();
  if (extension == u".bmp") return PictureFormat::Bmp;
  if (extension == u".jpg" || extension == u".jpeg") return PictureFormat::Jpeg;
  if (extension == u".png") return PictureFormat::Png;
  return PictureFormat::None;
}

QString ScreenShotName(const QDateTime& when) {
  const QDate date = when.date();
  const QTime time = when.time();
  const auto two = [](int n) { return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')); };
  return QStringLiteral("%1_%2_%3_%4_%5_%6_%7.jpg")
      .arg(date.year(), 4, 10, QLatin1Char('0'))
      .arg(two(date.month()), two(date.day()), two(time.hour()), two(time.minute()),
           two(time.second()))
      .arg(time.msec(), 3, 10, QLatin1Char('0'));
}

void ExportPicture(BoardAccess& board, SaveFileModel& saveFile, ExportKindChooser& exportKind) {
  const FrameTimerPause pause(board.Timer());
  if (!saveFile.Execute()) return;
  if (exportKind.ShowModal() != DialogResult::OK) return;
  const QString path = saveFile.FileName;
  const PictureFormat format = PictureFormatOf(path);
  if (format == PictureFormat::None) {
    ShowMessage(FormatWithTitle(LangText(Texts::ExportExtension), QFileInfo(path).fileName()));
    return;
  }
  try {
    const QImage picture =
        exportKind.ExportKind == 0 ? board.BoardPicture().copy() : board.WindowPicture();
    WritePicture(picture, format, path);
  } catch (const AppError& error) {
    ShowErrorBox(error.Message());
  }
}

void TakeScreenShot(BoardAccess& board) {
  try {
    Places::PrepareScreenShotFolder();
    WriteJpegFile(board.WindowPicture(),
                  Places::ScreenShotFolder() + ScreenShotName(board.LocalNow()));
  } catch (const AppError& error) {
    ShowErrorBox(error.Message());
  }
}

}  // namespace slatewick
