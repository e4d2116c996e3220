#include "platform/FileReplace.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <algorithm>
#include <cerrno>
#include <utility>

namespace slatewick {

namespace {

const QByteArray LeftoverPrefix = ".slatewick-";

// A file descriptor that is closed when it goes out of scope.
class Descriptor {
 public:
  explicit Descriptor(int fd = -1) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }
  int release() { return std::exchange(fd_, -1); }
  void reset(int fd) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = fd;
  }
  // Closes now; false (errno set) when the close reports a failed write.
  bool Close() { return ::close(release()) == 0; }

 private:
  int fd_;
};

QString Reason(int error) {
  return qt_error_string(error);
}

WriteFailure Failed(WriteFailure::Step step, int error) {
  return {step, Reason(error)};
}

bool SameFile(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// The file that a write to path goes to: a symbolic link is followed to its file. Anything there
// but a regular file is refused.
struct Target {
  QByteArray name;
  QByteArray folder;  // with a trailing '/', or empty for the current folder
  bool exists = false;
  struct stat info {};
  std::optional<WriteFailure> refusal;
};

Target Resolve(const QString& path) {
  Target target;
  const QFileInfo link(path);
  QString file = path;
  if (link.isSymLink()) {
    file = link.canonicalFilePath();
    if (file.isEmpty()) {
      target.refusal = {WriteFailure::Step::Replace,
                        QStringLiteral("It is a symbolic link that leads to no file.")};
      return target;
    }
  }
  target.name = QFile::encodeName(file);
  const qsizetype slash = target.name.lastIndexOf('/');
  target.folder = slash < 0 ? QByteArray() : target.name.left(slash + 1);
  if (::stat(target.name.constData(), &target.info) == 0) {
    target.exists = true;
    if (S_ISDIR(target.info.st_mode))
      target.refusal = Failed(WriteFailure::Step::Replace, EISDIR);
    else if (!S_ISREG(target.info.st_mode))
      target.refusal = {WriteFailure::Step::Replace,
                        QStringLiteral("It is not a regular file but a device, pipe or socket.")};
  } else if (errno != ENOENT) {
    target.refusal = Failed(WriteFailure::Step::Create, errno);
  }
  return target;
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

QByteArray LeftoverName(const QByteArray& folder) {
  return folder + LeftoverPrefix + QByteArray::number(QRandomGenerator::global()->generate(), 36);
}

// A file without a name can be given one through /proc (linkat with AT_EMPTY_PATH needs a
// privilege that /proc does not).
bool CanNameAnonymousFiles() {
  static const bool proc = ::access("/proc/self/fd", X_OK) == 0;
  return proc;
}

QByteArray ProcName(int fd) {
  return "/proc/self/fd/" + QByteArray::number(fd);
}

// A file being written: locked from its creation, anonymous where the file system allows it (a
// crash then leaves nothing), else under a hidden name of its own.
struct NewFile {
  Descriptor fd;
  QByteArray name;  // empty while anonymous
};

std::optional<WriteFailure> Create(const QByteArray& folder, NewFile& file) {
  if (CanNameAnonymousFiles()) {
    const QByteArray where = folder.isEmpty() ? QByteArray(".") : folder;
    Descriptor fd(::open(where.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666));
    if (fd.get() >= 0) {
      ::flock(fd.get(), LOCK_EX);
      file.fd.reset(fd.release());
      return {};
    }
    if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
      return Failed(WriteFailure::Step::Create, errno);
  }
  for (int attempt = 0; attempt < 16; ++attempt) {
    const QByteArray name = LeftoverName(folder);
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) {
      ::flock(fd, LOCK_EX);
      file.fd.reset(fd);
      file.name = name;
      return {};
    }
    if (errno != EEXIST) break;
  }
  return Failed(WriteFailure::Step::Create, errno);
}

// Removes the new file's name, if it has one.
void Discard(NewFile& file) {
  if (!file.name.isEmpty()) ::unlink(file.name.constData());
  file.name.clear();
}

// The whole new file, on the disk, with the permissions of the file it replaces.
std::optional<WriteFailure> Fill(NewFile& file, const QByteArray& bytes, const Target& target) {
  if (target.exists) ::fchmod(file.fd.get(), target.info.st_mode & 07777);
  if (WriteAll(file.fd.get(), bytes.constData(), bytes.size(), 0) && ::fsync(file.fd.get()) == 0)
    return {};
  const int error = errno;
  Discard(file);
  return Failed(WriteFailure::Step::Write, error);
}

// Gives an anonymous new file the name `name`; EEXIST when something is there.
bool Name(NewFile& file, const QByteArray& name) {
  if (!file.name.isEmpty()) return ::link(file.name.constData(), name.constData()) == 0;
  return ::linkat(AT_FDCWD, ProcName(file.fd.get()).constData(), AT_FDCWD, name.constData(),
                  AT_SYMLINK_FOLLOW) == 0;
}

// The new file takes the place of the target (which exists).
std::optional<WriteFailure> PutInPlace(NewFile& file, const Target& target) {
  if (file.name.isEmpty()) {
    const QByteArray name = LeftoverName(target.folder);
    if (!Name(file, name)) return Failed(WriteFailure::Step::Replace, errno);
    file.name = name;
  }
  if (::rename(file.name.constData(), target.name.constData()) == 0) {
    file.name.clear();
    return {};
  }
  const int error = errno;
  Discard(file);
  return Failed(WriteFailure::Step::Replace, error);
}

// The new file appears at the missing target, unless something else appeared there first.
std::optional<WriteFailure> PutNew(NewFile& file, const Target& target) {
  const bool named = Name(file, target.name);
  const int error = errno;
  Discard(file);
  if (!named) return Failed(WriteFailure::Step::Replace, error);
  return {};
}

// Rewrites target in place with bytes (see ReplaceOrRewriteFile).
std::optional<WriteFailure> Rewrite(const Target& target, const QByteArray& bytes) {
  Descriptor file(::open(target.name.constData(), O_RDWR | O_NONBLOCK | O_CLOEXEC));
  struct stat info {};
  QByteArray old;
  if (file.get() < 0 || ::fstat(file.get(), &info) != 0 || !ReadAll(file.get(), old))
    return Failed(WriteFailure::Step::Replace, errno);
  if (!S_ISREG(info.st_mode))
    return WriteFailure{WriteFailure::Step::Replace, QStringLiteral("It is not a regular file.")};
  const qsizetype same =
      std::mismatch(old.begin(), old.end(), bytes.begin(), bytes.end()).first - old.begin();
  if (bytes.size() > old.size()) {
    const int error = ::posix_fallocate(file.get(), old.size(), bytes.size() - old.size());
    if (error != 0) {
      [[maybe_unused]] const int restored = ::ftruncate(file.get(), old.size());
      return Failed(WriteFailure::Step::Write, error);
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
  return Failed(WriteFailure::Step::Write, error);
}

// Writes bytes into a new file beside the target and puts it in the target's place; where no new
// file can be made and rewrite is set, an existing target is rewritten in place. A target that
// the user may not write (its permissions, as the kernel judges them for the effective user) is
// refused before anything is made, as the rename would go over it.
std::optional<WriteFailure> Replace(const QString& path, const QByteArray& bytes, bool rewrite) {
  const Target target = Resolve(path);
  if (target.refusal) return target.refusal;
  if (target.exists && ::faccessat(AT_FDCWD, target.name.constData(), W_OK, AT_EACCESS) != 0)
    return Failed(WriteFailure::Step::Replace, errno);
  NewFile file;
  if (auto failure = Create(target.folder, file))
    return rewrite && target.exists ? Rewrite(target, bytes) : failure;
  if (auto failure = Fill(file, bytes, target)) return failure;
  if (auto failure = target.exists ? PutInPlace(file, target) : PutNew(file, target))
    return failure;
  if (!file.fd.Close()) return Failed(WriteFailure::Step::Write, errno);
  return {};
}

}  // namespace

QString WriteFailure::Message(const QString& path) const {
  const QString verb = step == Step::Create  ? QStringLiteral("create")
                       : step == Step::Write ? QStringLiteral("write")
                                             : QStringLiteral("replace");
  return QStringLiteral("Cannot %1 file \"%2\". %3").arg(verb, path, reason);
}

std::optional<WriteFailure> ReplaceFile(const QString& path, const QByteArray& bytes) {
  return Replace(path, bytes, false);
}

std::optional<WriteFailure> ReplaceOrRewriteFile(const QString& path, const QByteArray& bytes) {
  return Replace(path, bytes, true);
}

HeldFile::~HeldFile() {
  Release();
}

HeldFile::HeldFile(HeldFile&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}

HeldFile& HeldFile::operator=(HeldFile&& other) noexcept {
  if (this != &other) {
    Release();
    fd_ = std::exchange(other.fd_, -1);
  }
  return *this;
}

void HeldFile::Release() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

bool HeldFile::Hold(const QString& path) {
  const QByteArray name = QFile::encodeName(path);
  // A file replaced between the open and the lock is not the one at path: try again.
  for (int attempt = 0; attempt < 8; ++attempt) {
    Descriptor fd(::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat held {
    }, now{};
    if (fd.get() < 0 || ::fstat(fd.get(), &held) != 0 || !S_ISREG(held.st_mode)) return false;
    if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) return false;
    if (::stat(name.constData(), &now) != 0 || !SameFile(held, now)) continue;
    Release();
    fd_ = fd.release();
    return true;
  }
  return false;
}

bool HeldFile::HeldByAnyone(const QString& path) {
  Descriptor fd(::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  return fd.get() >= 0 && ::flock(fd.get(), LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
}

std::optional<WriteFailure> HeldFile::Replace(const QString& path, const QByteArray& bytes) {
  const Target target = Resolve(path);
  if (target.refusal) return target.refusal;
  struct stat held {};
  if (target.exists && (fd_ < 0 || ::fstat(fd_, &held) != 0 || !SameFile(held, target.info)))
    return WriteFailure{WriteFailure::Step::Replace,
                        QStringLiteral("Another running program keeps its board there.")};
  NewFile file;
  if (auto failure = Create(target.folder, file)) return failure;
  if (auto failure = Fill(file, bytes, target)) return failure;
  if (auto failure = target.exists ? PutInPlace(file, target) : PutNew(file, target))
    return failure;
  Release();
  fd_ = file.fd.release();
  return {};
}

void RemoveLeftoverFiles(const QString& folder) {
  const QStringList names = QDir(folder).entryList({QString::fromLatin1(LeftoverPrefix) + u'*'},
                                                   QDir::Files | QDir::Hidden | QDir::System);
  for (const QString& entry : names) {
    const QByteArray name = QFile::encodeName(QDir(folder).filePath(entry));
    Descriptor fd(::open(name.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat open {
    }, now{};
    if (fd.get() < 0 || ::fstat(fd.get(), &open) != 0 || !S_ISREG(open.st_mode)) continue;
    if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) continue;  // a write under way
    if (::lstat(name.constData(), &now) == 0 && SameFile(open, now)) ::unlink(name.constData());
  }
}

}  // namespace slatewick
