#pragma once
#include <QImage>
#include <QString>

class QMimeData;

namespace slatewick {

// Pictures that pass between the program and other programs: the board put on the clipboard, and
// pictures pasted from the clipboard or dropped as files. Those that come in are untrusted: PNG
// and JPEG go through Qt's readers under an allocation limit, BMP through our own reader, and a
// picture whose declared size has a side longer than ForeignMaxSide is refused before its pixels
// are read. Every refusal is an AppError with the board files' message
// (UnreadablePictureMessage), naming the file or the clipboard and the reason.

// The longest side of a picture taken from another program, in pixels.
inline constexpr int ForeignMaxSide = 16384;
// What a reader may allocate for one picture, in MiB: the largest picture at 4 bytes a pixel.
inline constexpr int ForeignMaxMiB = 1024;

// The clipboard gets the picture as PNG bytes ("image/png") and as the picture itself, from which
// Qt makes the other picture types that a program asks for.
void CopyPictureToClipboard(const QImage& picture);

// The picture file that data offers: the path of its only URL when that is a local regular file
// (links followed) named .png, .jpg, .jpeg or .bmp in any letter case; else empty (text, several
// files, a folder, another kind of file).
QString OfferedPictureFile(const QMimeData& data);
// Whether data offers a picture: a picture file, PNG, JPEG or BMP bytes, or a picture Qt decodes.
bool OffersPicture(const QMimeData& data);
// The picture that data offers, in that order; `source` names it in a refusal (but for a file,
// named by its path).
QImage ReadOfferedPicture(const QMimeData& data, const QString& source);
// The picture in a PNG, JPEG or BMP file, whatever its name says.
QImage ReadForeignPictureFile(const QString& path);

}  // namespace slatewick
