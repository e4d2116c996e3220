#pragma once
#include <QCache>
#include <QImage>
#include <QObject>
#include <QSize>
#include <QString>
#include <QThreadPool>
#include <optional>

namespace slatewick {

// The picture of a board file scaled down smoothly to fit within `fit` pixels, keeping its
// proportions; null when the file is not a whole BMP of exactly boardSize pixels (it is read as
// the chooser's load reads it, by ReadBmpFile, so a hostile file is refused the same way).
QImage MakeBoardThumbnail(const QString& path, QSize boardSize, QSize fit);

// The thumbnails of board files, made one at a time on a worker thread of their own and kept
// (up to CacheKilobytes in all) for each file's path, modification time and size, so that a
// board stored again is made again. It lives on the user-interface thread, which never waits
// for a file; destroying it drops the work still waiting and waits for the one thumbnail being
// made (a board file read and scaled: about 0.5 ms, BM_MakeBoardThumbnail).
class BoardThumbnails : public QObject {
  Q_OBJECT

 public:
  static constexpr int CacheKilobytes = 32 * 1024;  // about 270 thumbnails of 240 x 130

  BoardThumbnails(QSize boardSize, QSize fit, QObject* parent = nullptr);
  ~BoardThumbnails() override;

  // The thumbnail of the board file at path as the file is now, once made (null for a file that
  // is not a board). Until then empty: the thumbnail is made in place of any other still waiting
  // to be made, and Made(path) follows on this object's thread when it is ready.
  std::optional<QImage> Thumbnail(const QString& path);

 signals:
  void Made(const QString& path);

 private:
  void Keep(const QString& key, const QString& path, const QImage& thumbnail);

  const QSize boardSize_, fit_;
  QCache<QString, QImage> made_{CacheKilobytes};
  QString requested_;  // the key of the thumbnail last asked for, until it is made
  QThreadPool worker_;
};

}  // namespace slatewick
