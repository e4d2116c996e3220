#include "platform/FileReplace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <algorithm>
#include <cerrno>

namespace slatewick {

namespace {

// A file descriptor that is closed when it goes out of scope.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }
  // Closes now; false (errno set) when the close reports a failed write.
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

QString Reason(int error) {
  return qt_error_string(error);
}

// The file that path names: a symbolic link's target when that exists, else path itself.
QByteArray Target(const QString& path) {
  const QFileInfo info(path);
  const QString target = info.isSymLink() ? info.canonicalFilePath() : QString();
  return QFile::encodeName(target.isEmpty() ? path : target);
}

bool WriteAll(int fd, const char* data, qsizetype size, off_t offset) {
  while (size > 0) {
    const ssize_t written =
        ::pwrite(fd, data, std::size_t(std::min<qsizetype>(size, 1 << 30)), offset);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      if (written == 0) errno = EIO;
      return false;
    }
    data += written;
    size -= written;
    offset += written;
  }
  return true;
}

bool ReadAll(int fd, QByteArray& bytes) {
  struct stat info {};
  if (::fstat(fd, &info) != 0) return false;
  bytes.resize(qsizetype(info.st_size));
  qsizetype done = 0;
  while (done < bytes.size()) {
    const ssize_t got = ::pread(fd, bytes.data() + done, std::size_t(bytes.size() - done), done);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return false;
    if (got == 0) break;
    done += got;
  }
  bytes.truncate(done);
  return true;
}

// A new, empty file of the folder that holds target, under a name of its own; -1 (errno set)
// when the folder allows none.
int CreateTemporary(const QByteArray& target, QByteArray& name) {
  const qsizetype slash = target.lastIndexOf('/');
  const QByteArray folder = slash < 0 ? QByteArray() : target.left(slash + 1);
  for (int attempt = 0; attempt < 16; ++attempt) {
    name = folder + ".slatewick-" + QByteArray::number(QRandomGenerator::global()->generate(), 36);
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

// Rewrites target in place with bytes (see ReplaceOrRewriteFile).
QString Rewrite(const QByteArray& target, const QByteArray& bytes) {
  Descriptor file(::open(target.constData(), O_RDWR | O_CLOEXEC));
  QByteArray old;
  if (file.get() < 0 || !ReadAll(file.get(), old)) return Reason(errno);
  const qsizetype same =
      std::mismatch(old.begin(), old.end(), bytes.begin(), bytes.end()).first - old.begin();
  if (bytes.size() > old.size()) {
    const int error = ::posix_fallocate(file.get(), old.size(), bytes.size() - old.size());
    if (error != 0) {
      [[maybe_unused]] const int restored = ::ftruncate(file.get(), old.size());
      return Reason(error);
    }
  }
  if (WriteAll(file.get(), bytes.constData() + same, bytes.size() - same, same) &&
      (bytes.size() >= old.size() || ::ftruncate(file.get(), bytes.size()) == 0) &&
      ::fsync(file.get()) == 0 && file.Close())
    return {};
  const int error = errno;
  if (file.get() >= 0 && WriteAll(file.get(), old.constData() + same, old.size() - same, same) &&
      ::ftruncate(file.get(), old.size()) == 0)
    ::fsync(file.get());
  return Reason(error);
}

// Writes bytes into a temporary file beside target and renames it over target; where no
// temporary file can be made and rewrite is set, an existing target is rewritten in place. A
// target that the user may not write (its permissions, as the kernel judges them for the
// effective user) is refused before anything is made, as the rename would go over it.
QString Replace(const QByteArray& target, const QByteArray& bytes, bool rewrite) {
  struct stat existing {};
  const bool exists = ::stat(target.constData(), &existing) == 0 && S_ISREG(existing.st_mode);
  if (exists && ::faccessat(AT_FDCWD, target.constData(), W_OK, AT_EACCESS) != 0)
    return Reason(errno);
  QByteArray temporary;
  Descriptor file(CreateTemporary(target, temporary));
  if (file.get() < 0) {
    const int error = errno;
    return rewrite && exists ? Rewrite(target, bytes) : Reason(error);
  }
  if (exists) ::fchmod(file.get(), existing.st_mode & 07777);
  if (WriteAll(file.get(), bytes.constData(), bytes.size(), 0) && ::fsync(file.get()) == 0 &&
      file.Close() && ::rename(temporary.constData(), target.constData()) == 0)
    return {};
  const int error = errno;
  ::unlink(temporary.constData());
  return Reason(error);
}

}  // namespace

QString ReplaceFile(const QString& path, const QByteArray& bytes) {
  return Replace(Target(path), bytes, false);
}

QString ReplaceOrRewriteFile(const QString& path, const QByteArray& bytes) {
  return Replace(Target(path), bytes, true);
}

}  // namespace slatewick
