// Files that the user may not write: a file made read-only in a writable folder, and a new file
// in a read-only folder. Root runs these as "nobody", whom permissions stop.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cerrno>
#include <cstring>

#include "platform/FileReplace.h"

namespace slatewick {

namespace {

// While it lives, permissions apply to this process: root acts as "nobody".
class Unprivileged {
 public:
  Unprivileged() {
    if (getuid() == 0) {
      EXPECT_EQ(seteuid(65534), 0);
    }
  }
  ~Unprivileged() {
    if (getuid() == 0) {
      EXPECT_EQ(seteuid(0), 0);
    }
  }
  Unprivileged(const Unprivileged&) = delete;
  Unprivileged& operator=(const Unprivileged&) = delete;
};

mode_t Mode(const QString& path) {
  struct stat info {};
  ::stat(QFile::encodeName(path).constData(), &info);
  return info.st_mode & 07777;
}

void SetMode(const QString& path, mode_t mode) {
  ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), mode), 0);
}

QByteArray Bytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

using Writer = QString (*)(const QString&, const QByteArray&);

// Both ways of writing refuse with the real reason and leave the folder as it was.
TEST(FileReplace, AFileOrFolderTheUserMayNotWriteIsRefusedWithTheReason) {
  const QString permissionDenied = QString::fromLocal8Bit(std::strerror(EACCES));
  for (const Writer write : {&ReplaceFile, &ReplaceOrRewriteFile}) {
    QTemporaryDir dir;
    const QString kept = dir.filePath(QStringLiteral("kept.ini"));
    QFile file(kept);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("old bytes");
    file.close();

    SetMode(kept, 0444);
    SetMode(dir.path(), 0777);
    QString keptReason, newReason;
    {
      const Unprivileged user;
      keptReason = write(kept, "new bytes");
    }
    SetMode(dir.path(), 0555);
    {
      const Unprivileged user;
      newReason = write(dir.filePath(QStringLiteral("new.ini")), "new bytes");
    }
    SetMode(dir.path(), 0700);

    EXPECT_EQ(keptReason.toStdString(), permissionDenied.toStdString());
    EXPECT_EQ(newReason.toStdString(), permissionDenied.toStdString());
    EXPECT_EQ(Bytes(kept), "old bytes");
    EXPECT_EQ(Mode(kept), 0444u);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"kept.ini"});
  }
}

}  // namespace

}  // namespace slatewick
