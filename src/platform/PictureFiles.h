#pragma once
#include <QByteArray>
#include <QImage>
#include <QString>

#include "platform/AppError.h"
#include "platform/BmpReader.h"

namespace slatewick {

// Reading and writing the picture files of boards, exports and screenshots. Every failure is
// an AppError whose message names the file and the reason.

// The file's bytes replace path in one step (see ReplaceFile). On failure path is untouched and
// the error names what failed (creating, writing or replacing the file), path and the system's
// reason ("No space left on device", ...).
void WriteFileAtomically(const QString& path, const QByteArray& bytes);

// The picture as a 24-bit Windows bitmap.
QByteArray EncodeBmp(const QImage& picture);
void WriteBmpFile(const QImage& picture, const QString& path);
// The picture as a 24-bit PNG, through Qt's PNG writer.
QByteArray EncodePng(const QImage& picture);
void WritePngFile(const QImage& picture, const QString& path);

// The message of a picture that cannot be read: "Cannot read the bitmap "source". reason".
QString UnreadablePictureMessage(const QString& source, const QString& reason);

// A bitmap that is refused only because its size is not one that its reader accepts.
class BmpSizeError : public AppError {
 public:
  using AppError::AppError;
};

// A Windows bitmap of any colour depth, as a 32-bit RGB picture (format RGB32); a file that is
// not a whole, consistent BMP (see DecodeBmp) is refused with the reason, and a whole one whose
// size lies outside `accepted` with a BmpSizeError, before its picture is allocated.
QImage ReadBmpFile(const QString& path, const BmpSizes& accepted = {});

}  // namespace slatewick
