// Files that the user may not write: a file made read-only in a writable folder, and a new file
// in a read-only folder. Root runs these as "nobody", whom permissions stop.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
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

using Writer = std::optional<WriteFailure> (*)(const QString&, const QByteArray&);
constexpr Writer Writers[] = {&ReplaceFile, &ReplaceOrRewriteFile};

QStringList Entries(const QString& dir) {
  return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                             QDir::Name);
}

// Both ways of writing refuse with the step that failed and the real reason, and leave the
// folder as it was.
TEST(FileReplace, AFileOrFolderTheUserMayNotWriteIsRefusedWithTheReason) {
  const QString permissionDenied = QString::fromLocal8Bit(std::strerror(EACCES));
  for (const Writer write : Writers) {
    QTemporaryDir dir;
    const QString kept = dir.filePath(QStringLiteral("kept.ini"));
    QFile file(kept);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("old bytes");
    file.close();

    SetMode(kept, 0444);
    SetMode(dir.path(), 0777);
    std::optional<WriteFailure> keptFailure, newFailure;
    {
      const Unprivileged user;
      keptFailure = write(kept, "new bytes");
    }
    SetMode(dir.path(), 0555);
    {
      const Unprivileged user;
      newFailure = write(dir.filePath(QStringLiteral("new.ini")), "new bytes");
    }
    SetMode(dir.path(), 0700);

    ASSERT_TRUE(keptFailure && newFailure);
    EXPECT_EQ(keptFailure->Message(kept).toStdString(),
              ("Cannot replace file \"" + kept + "\". " + permissionDenied).toStdString());
    EXPECT_EQ(newFailure->step, WriteFailure::Step::Create);
    EXPECT_EQ(newFailure->reason.toStdString(), permissionDenied.toStdString());
    EXPECT_EQ(Bytes(kept), "old bytes");
    EXPECT_EQ(Mode(kept), 0444u);
    EXPECT_EQ(Entries(dir.path()), QStringList{"kept.ini"});
  }
}

// Run as root, a rename over a device would replace it for every user: only regular files are
// replaced, whatever stands in their place or a link leads to.
TEST(FileReplace, OnlyRegularFilesAreReplaced) {
  for (const Writer write : Writers) {
    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("pipe.bmp"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(fifo, dir.filePath(QStringLiteral("link.bmp"))));
    ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("nowhere")),
                            dir.filePath(QStringLiteral("dangling.bmp"))));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder.bmp")));
    const QStringList before = Entries(dir.path());
    for (const char* name : {"pipe.bmp", "link.bmp", "dangling.bmp", "folder.bmp"}) {
      const auto failure = write(dir.filePath(QString::fromLatin1(name)), "bytes");
      ASSERT_TRUE(failure) << name;
      EXPECT_EQ(failure->step, WriteFailure::Step::Replace) << name;
    }
    EXPECT_EQ(Entries(dir.path()), before);
    EXPECT_FALSE(QFileInfo(fifo).isFile());
  }
}

// What a crash leaves behind is removed at the next start, unless a running program writes it.
TEST(FileReplace, LeftoversOfACrashAreRemovedButNotAWriteUnderWay) {
  QTemporaryDir dir;
  const auto make = [&](const char* name) {
    QFile file(dir.filePath(QString::fromLatin1(name)));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("half a board");
  };
  make(".slatewick-crashed");
  make(".slatewick-under-way");
  make(".hidden");
  make("board.bmp");
  HeldFile writer;
  ASSERT_TRUE(writer.Hold(dir.filePath(QStringLiteral(".slatewick-under-way"))));
  RemoveLeftoverFiles(dir.path());
  EXPECT_EQ(Entries(dir.path()), (QStringList{".hidden", ".slatewick-under-way", "board.bmp"}));
  EXPECT_TRUE(ReplaceFile(dir.filePath(QStringLiteral("board.bmp")), "whole").has_value() == false);
  EXPECT_EQ(Entries(dir.path()), (QStringList{".hidden", ".slatewick-under-way", "board.bmp"}));
}

// Each running program keeps its own file: one that another holds is neither held nor replaced.
TEST(FileReplace, AHeldFileIsHeldByOneHolderOnly) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("kept.bmp"));
  HeldFile first, second;
  EXPECT_FALSE(HeldFile::HeldByAnyone(path));
  ASSERT_FALSE(first.Replace(path, "first"));
  EXPECT_TRUE(HeldFile::HeldByAnyone(path));
  EXPECT_FALSE(second.Hold(path));
  EXPECT_TRUE(second.Replace(path, "second"));
  ASSERT_FALSE(first.Replace(path, "first again"));
  EXPECT_EQ(Bytes(path), "first again");
  first.Release();
  EXPECT_FALSE(HeldFile::HeldByAnyone(path));
  EXPECT_TRUE(second.Hold(path));
  EXPECT_EQ(Entries(dir.path()), QStringList{"kept.bmp"});
}

}  // namespace

}  // namespace slatewick
