#include "platform/PictureTransfer.h"

#include <QBuffer>
#include <QClipboard>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>
#include <QMimeData>
#include <QUrl>
#include <array>

#include "platform/AppError.h"
#include "platform/BmpReader.h"
#include "platform/PictureFiles.h"

namespace slatewick {

namespace {

const BmpSizes ForeignSizes{{1, 1}, {ForeignMaxSide, ForeignMaxSide}};
// The picture types read from a program's bytes, the first offered taken.
constexpr std::array PictureTypes{"image/png", "image/jpeg", "image/bmp"};

AppError Refusal(const QString& source, const QString& reason) {
  return AppError(UnreadablePictureMessage(source, reason));
}

// Refuses a size with a side longer than ForeignMaxSide (an invalid size passes), saying why as
// the BMP reader says it.
void CheckSize(QSize size, const QString& source) {
  if (size.width() > ForeignMaxSide || size.height() > ForeignMaxSide)
    throw Refusal(source, QStringLiteral("Its picture of %1 x %2 pixels is larger than the %3 x %3 "
                                         "pixels that are read.")
                              .arg(size.width())
                              .arg(size.height())
                              .arg(ForeignMaxSide));
}

// A PNG or JPEG picture from device, turned upright as its camera says; the declared size is
// checked before any pixel is read.
QImage ReadWithQt(QIODevice& device, const QString& source) {
  const QByteArray format = QImageReader::imageFormat(&device);
  if (format != "png" && format != "jpeg")
    throw Refusal(source, QStringLiteral("It is not a PNG, JPEG or BMP picture."));
  QImageReader::setAllocationLimit(ForeignMaxMiB);
  QImageReader reader(&device, format);
  reader.setAutoTransform(true);
  CheckSize(reader.size(), source);
  QImage picture;
  if (!reader.read(&picture)) throw Refusal(source, reader.errorString());
  CheckSize(picture.size(), source);
  return picture;
}

QImage ReadForeignBytes(QByteArray bytes, const QString& source) {
  if (bytes.startsWith("BM")) {
    const BmpReadResult read = DecodeBmp(bytes, ForeignSizes);
    if (read.picture.isNull()) throw Refusal(source, read.refusal);
    return read.picture;
  }
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::ReadOnly);
  return ReadWithQt(buffer, source);
}

}  // namespace

void CopyPictureToClipboard(const QImage& picture) {
  const QByteArray png = EncodePng(picture);
  auto* data = new QMimeData;
  data->setData(QStringLiteral("image/png"), png);
  data->setImageData(picture);
  QGuiApplication::clipboard()->setMimeData(data);
}

QString OfferedPictureFile(const QMimeData& data) {
  const QList<QUrl> urls = data.urls();
  if (urls.size() != 1 || !urls[0].isLocalFile()) return {};
  const QFileInfo file(urls[0].toLocalFile());
  const QString suffix = file.suffix().toLower();
  const bool picture =
      suffix == u"png" || suffix == u"jpg" || suffix == u"jpeg" || suffix == u"bmp";
  return picture && file.isFile() ? file.filePath() : QString();
}

bool OffersPicture(const QMimeData& data) {
  for (const char* type : PictureTypes)
    if (data.hasFormat(QLatin1String(type))) return true;
  return data.hasImage() || !OfferedPictureFile(data).isEmpty();
}

QImage ReadOfferedPicture(const QMimeData& data, const QString& source) {
  if (const QString path = OfferedPictureFile(data); !path.isEmpty())
    return ReadForeignPictureFile(path);
  for (const char* type : PictureTypes)
    if (data.hasFormat(QLatin1String(type)))
      return ReadForeignBytes(data.data(QLatin1String(type)), source);
  QImageReader::setAllocationLimit(ForeignMaxMiB);  // Qt decodes its picture under it too
  const QImage picture = qvariant_cast<QImage>(data.imageData());
  if (picture.isNull()) throw Refusal(source, QStringLiteral("It holds no picture that is read."));
  CheckSize(picture.size(), source);
  return picture;
}

QImage ReadForeignPictureFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) throw Refusal(path, file.errorString());
  if (file.peek(2) == "BM") return ReadBmpFile(path, ForeignSizes);
  return ReadWithQt(file, path);
}

}  // namespace slatewick
