#pragma once
#include <QByteArray>
#include <QImage>
#include <QString>

namespace slatewick {

// Reading and writing the picture files of boards, exports and screenshots. Every failure is
// an AppError whose message names the file and the reason.

// The file's bytes replace path in one step: they are written to a temporary file in the same
// folder, which is then renamed over path (see ReplaceFile). On failure path is untouched and
// the error names path and the system's reason ("No space left on device", ...).
void WriteFileAtomically(const QString& path, const QByteArray& bytes);

// The picture as a 24-bit Windows bitmap.
QByteArray EncodeBmp(const QImage& picture);
void WriteBmpFile(const QImage& picture, const QString& path);

// A Windows bitmap of any colour depth, as a 32-bit RGB picture (format RGB32); a file that is
// not a whole, consistent BMP (see DecodeBmp) is refused with the reason.
QImage ReadBmpFile(const QString& path);

}  // namespace slatewick
