// Which layout the program runs in: portable (a folder beside the executable holding a
// picture, writable) or installed.
#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "platform/Places.h"

namespace slatewick {

namespace {

using Places::Layout;

void Touch(const QString& path) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
}

TEST(PlacesTest, APortableFolderHoldsAPictureAndIsWritable) {
  QTemporaryDir dir;
  EXPECT_EQ(Places::LayoutFor(dir.path()), Layout::Installed);
  QDir(dir.path()).mkdir(QStringLiteral("Moji.bmp"));  // a folder is not a picture
  EXPECT_EQ(Places::LayoutFor(dir.path()), Layout::Installed);
  Touch(dir.filePath(QStringLiteral("Hand.bmp")));
  EXPECT_EQ(Places::LayoutFor(dir.path() + u'/'), Layout::Portable);
  EXPECT_EQ(Places::LayoutFor(dir.filePath(QStringLiteral("missing"))), Layout::Installed);
}

// A copy in a read-only folder is still portable: it finds its pictures beside itself.
TEST(PlacesTest, APictureFolderThatCannotBeWrittenIsStillPortable) {
  QTemporaryDir dir;
  Touch(dir.filePath(QStringLiteral("Hand.bmp")));
  QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
  EXPECT_EQ(Places::LayoutFor(dir.path()), Layout::Portable);
  QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

}  // namespace

}  // namespace slatewick
