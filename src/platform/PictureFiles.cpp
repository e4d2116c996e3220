#include "platform/PictureFiles.h"

#include <QBuffer>
#include <QFile>
#include <QImageWriter>

#include "platform/AppError.h"
#include "platform/BmpReader.h"
#include "platform/FileReplace.h"

namespace slatewick {

void WriteFileAtomically(const QString& path, const QByteArray& bytes) {
  if (const auto failure = ReplaceFile(path, bytes)) throw AppError(failure->Message(path));
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

QImage ReadBmpFile(const QString& path, const BmpSizes& accepted) {
  const auto message = [&](const QString& reason) {
    return QStringLiteral("Cannot read the bitmap \"%1\". %2").arg(path, reason);
  };
  const auto refuse = [&](const QString& reason) { return AppError(message(reason)); };
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) throw refuse(file.errorString());
  if (file.size() > kBmpMaxFileBytes)
    throw refuse(QStringLiteral("The file of %1 bytes is larger than any picture that is read.")
                     .arg(file.size()));
  const QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) throw refuse(file.errorString());
  BmpReadResult read = DecodeBmp(bytes, accepted);
  if (read.wrongSize) throw BmpSizeError(message(read.refusal));
  if (read.picture.isNull()) throw refuse(read.refusal);
  return read.picture;
}

}  // namespace slatewick
