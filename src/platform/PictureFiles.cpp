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

namespace {

// The picture, without alpha, in one of Qt's writers' formats ("bmp", "png"); `what` names the
// kind of file in the error.
QByteArray Encode(const QImage& picture, const char* format, const QString& what) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, format);
  if (!writer.write(picture.convertToFormat(QImage::Format_RGB32)))
    throw AppError(QStringLiteral("Cannot encode the %1. %2").arg(what, writer.errorString()));
  return bytes;
}

}  // namespace

QByteArray EncodeBmp(const QImage& picture) {
  return Encode(picture, "bmp", QStringLiteral("bitmap"));
}

void WriteBmpFile(const QImage& picture, const QString& path) {
  WriteFileAtomically(path, EncodeBmp(picture));
}

QByteArray EncodePng(const QImage& picture) {
  return Encode(picture, "png", QStringLiteral("PNG picture"));
}

void WritePngFile(const QImage& picture, const QString& path) {
  WriteFileAtomically(path, EncodePng(picture));
}

QString UnreadablePictureMessage(const QString& source, const QString& reason) {
  return QStringLiteral("Cannot read the bitmap \"%1\". %2").arg(source, reason);
}

QImage ReadBmpFile(const QString& path, const BmpSizes& accepted) {
  const auto message = [&](const QString& reason) {
    return UnreadablePictureMessage(path, reason);
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
