#pragma once
#include <QByteArray>
#include <QString>

namespace slatewick {

// Writing a whole file so that a failure never leaves it half written. Both functions return
// the empty text on success, else the system's reason for the call that failed ("No space left
// on device", "Permission denied", ...). A symbolic link at path is followed to its file. An
// existing file that the user may not write (say mode 0444) is refused with "Permission denied"
// and keeps its bytes and mode, although its folder would let a new file replace it; root may
// write it.

// path gets bytes in one step: a temporary file in the same folder is written in full, flushed
// to the disk and renamed over path. On failure the temporary file is removed and path is as it
// was. An existing file keeps its permissions; a new one gets 0666 less the umask.
QString ReplaceFile(const QString& path, const QByteArray& bytes);

// As ReplaceFile; but where no temporary file can be made beside an existing file (a folder the
// user may not write in), that file is rewritten in place: its new length is reserved first, so
// that a full disk fails before any byte changes, and a write that fails all the same puts the
// old bytes back. A failure leaves the file as it was.
QString ReplaceOrRewriteFile(const QString& path, const QByteArray& bytes);

}  // namespace slatewick
