#pragma once
#include <QByteArray>
#include <QImage>
#include <QString>

namespace slatewick {

// JPEG files through libjpeg: baseline, colour (3-component RGB input from a 24-bit copy of the
// picture), quality 90 unless told otherwise. A libjpeg failure is an AppError carrying
// libjpeg's message; it never ends the program.
constexpr int JpegQuality = 90;

QByteArray EncodeJpeg(const QImage& picture, int quality = JpegQuality);
// Encodes the picture and replaces path with it in one step (see WriteFileAtomically).
void WriteJpegFile(const QImage& picture, const QString& path);

}  // namespace slatewick
