#pragma once
#include <QByteArray>
#include <QString>
#include <optional>

namespace slatewick {

// Writing a whole file so that a failure never leaves it half written, and a crash leaves
// nothing behind: the bytes go into a file without a name in the target's folder (where the
// file system allows one; else a hidden ".slatewick-*" file, locked while it is written), which
// takes the target's place by a rename only once it is whole and on the disk.
//
// A symbolic link at the path is followed to its file. Only regular files are replaced: a folder,
// device, pipe or socket in the target's place, or a link that leads nowhere, is refused before
// anything is made. An existing file that the user may not write (say mode 0444) is refused with
// "Permission denied" and keeps its bytes and mode, although its folder would let a new file
// replace it; root may write it. An existing file keeps its permissions; a new one gets 0666 less
// the umask.

// What failed: making the new file, writing it, or putting it in the target's place; and the
// system's reason ("No space left on device", "Permission denied", ...).
struct WriteFailure {
  enum class Step { Create, Write, Replace };
  Step step = Step::Create;
  QString reason;
  // "Cannot create file "path". reason" (or "write", "replace").
  QString Message(const QString& path) const;
};

// path gets bytes in one step. On failure path is as it was.
std::optional<WriteFailure> ReplaceFile(const QString& path, const QByteArray& bytes);

// As ReplaceFile; but where no new file can be made beside an existing file (a folder the user
// may not write in), that file is rewritten in place: its new length is reserved first, so that
// a full disk fails before any byte changes, and a write that fails all the same puts the old
// bytes back. A failure leaves the file as it was.
std::optional<WriteFailure> ReplaceOrRewriteFile(const QString& path, const QByteArray& bytes);

// A file this process holds with an exclusive lock (flock) for as long as the object lives. The
// kernel drops the lock when the process ends, however it ends, so no lock outlives its holder.
class HeldFile {
 public:
  HeldFile() = default;
  ~HeldFile();
  HeldFile(HeldFile&& other) noexcept;
  HeldFile& operator=(HeldFile&& other) noexcept;

  // Holds the regular file at path if it is there and nobody holds it; false otherwise.
  bool Hold(const QString& path);
  // Whether the file at path is held, by this or another process (a missing file is not).
  static bool HeldByAnyone(const QString& path);
  // path gets bytes in one step, as ReplaceFile, and this object holds the new file from before
  // it takes path's place. path must be missing or the file held here; a file that another
  // process holds, or one that appears at a missing path meanwhile, is refused (Replace step).
  std::optional<WriteFailure> Replace(const QString& path, const QByteArray& bytes);
  bool Holding() const { return fd_ >= 0; }
  void Release();

 private:
  explicit HeldFile(int fd) : fd_(fd) {}
  int fd_ = -1;
};

// Removes from folder the hidden files that a write interrupted by a crash left behind (those
// named ".slatewick-*" that no running process holds), and nothing else.
void RemoveLeftoverFiles(const QString& folder);

}  // namespace slatewick
