#include "files/PictureFiles.h"

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>

#include "platform/AppError.h"
#include "platform/FileReplace.h"

void WriteFileAtomically(const QString& path, const QByteArray& bytes) {
  const QString reason = ReplaceFile(path, bytes);
  if (!reason.isEmpty())
    throw AppError(QStringLiteral("Cannot create file \"%1\". %2").arg(path, reason));
}

QByteArray EncodeBmp(const QImage& picture) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, "bmp");
  if (!writer.write(picture.convertToFormat(QImage::Format_RGB32)))
    throw AppError(QStringLiteral("Cannot encode the bitmap. %1").arg(writer.errorString()));
  return bytes;
}

void WriteBmpFile(const QImage& picture, const QString& path) {
  WriteFileAtomically(path, EncodeBmp(picture));
}

QImage ReadBmpFile(const QString& path) {
  QImageReader reader(path, "bmp");
  reader.setAutoDetectImageFormat(false);
  QImage picture = reader.read();
  if (picture.isNull())
    throw AppError(
        QStringLiteral("Cannot read the bitmap \"%1\". %2").arg(path, reader.errorString()));
  return picture.convertToFormat(QImage::Format_RGB32);
}
