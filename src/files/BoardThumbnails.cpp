#include "files/BoardThumbnails.h"

#include <QFileInfo>
#include <algorithm>
#include <exception>

#include "platform/PictureFiles.h"

namespace slatewick {

namespace {

// What tells one content of a file from another: its path, modification time and size.
QString FileKey(const QString& path) {
  const QFileInfo file(path);
  const qint64 modified = file.fileTime(QFileDevice::FileModificationTime).toMSecsSinceEpoch();
  return path + u'\n' + QString::number(modified) + u'\n' + QString::number(file.size());
}

}  // namespace

QImage MakeBoardThumbnail(const QString& path, QSize boardSize, QSize fit) {
  try {
    return ReadBmpFile(path, {boardSize, boardSize})
        .scaled(fit, Qt::KeepAspectRatio, Qt::SmoothTransformation);
  } catch (const std::exception&) {  // refused, unreadable, or too large to hold
    return {};
  }
}

BoardThumbnails::BoardThumbnails(QSize boardSize, QSize fit, QObject* parent)
    : QObject(parent), boardSize_(boardSize), fit_(fit) {
  worker_.setMaxThreadCount(1);
}

BoardThumbnails::~BoardThumbnails() {
  worker_.clear();
  worker_.waitForDone();
}

std::optional<QImage> BoardThumbnails::Thumbnail(const QString& path) {
  const QString key = FileKey(path);
  if (const QImage* thumbnail = made_.object(key)) return *thumbnail;
  if (key == requested_) return std::nullopt;
  requested_ = key;
  worker_.clear();
  worker_.start([this, key, path, boardSize = boardSize_, fit = fit_] {
    const QImage thumbnail = MakeBoardThumbnail(path, boardSize, fit);
    // Posted to this object, which outlives the worker (its destructor waits for it).
    QMetaObject::invokeMethod(
        this, [this, key, path, thumbnail] { Keep(key, path, thumbnail); }, Qt::QueuedConnection);
  });
  return std::nullopt;
}

void BoardThumbnails::Keep(const QString& key, const QString& path, const QImage& thumbnail) {
  made_.insert(key, new QImage(thumbnail), std::max<qsizetype>(1, thumbnail.sizeInBytes() / 1024));
  if (key == requested_) requested_.clear();
  emit Made(path);
}

}  // namespace slatewick
