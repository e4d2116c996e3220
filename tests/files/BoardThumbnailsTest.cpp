#include <QFile>
#include <QSignalSpy>
#include <QTest>
#include <cstdlib>
#include <functional>

#include "files/BoardThumbnails.h"
#include "files/FilesFixture.h"
#include "platform/PictureFiles.h"

namespace slatewick {

namespace {

constexpr QSize BoardSize{800, 432}, Fit{240, 130};

class Thumbnails : public FilesTest {
 protected:
  // The thumbnail of path, asked for once it has been made; it is not there at the first ask.
  QImage MadeThumbnail(const QString& path) {
    QSignalSpy made(&thumbnails, &BoardThumbnails::Made);
    EXPECT_FALSE(thumbnails.Thumbnail(path).has_value());
    EXPECT_TRUE(QTest::qWaitFor([&] { return made.contains({path}); }, 10000));
    const std::optional<QImage> thumbnail = thumbnails.Thumbnail(path);
    EXPECT_TRUE(thumbnail.has_value());
    return thumbnail.value_or(QImage());
  }

  BoardThumbnails thumbnails{BoardSize, Fit};
};

// Every 32 x 32 block of the board shows its colour at its centre in the thumbnail.
::testing::AssertionResult ShowsBlocks(const QImage& thumbnail, const QImage& board) {
  if (thumbnail.size() != Fit) return ::testing::AssertionFailure() << "not 240 x 130";
  for (int y = 16; y < board.height(); y += 32)
    for (int x = 16; x < board.width(); x += 32) {
      const QRgb want = board.pixel(x, y), got = thumbnail.pixel(x * 3 / 10, y * 130 / 432);
      if (std::abs(qRed(want) - qRed(got)) + std::abs(qGreen(want) - qGreen(got)) +
              std::abs(qBlue(want) - qBlue(got)) >
          12)
        return ::testing::AssertionFailure() << "block at " << x << "," << y;
    }
  return ::testing::AssertionSuccess();
}

TEST_F(Thumbnails, ABoardFileShowsScaledDownAndAnyOtherFileNothing) {
  const QImage board = Blocks(800, 432);
  const struct {
    const char* file;
    std::function<void(const QString&)> write;
  } cases[] = {
      {"board", [&](const QString& path) { WriteBmpFile(board, path); }},
      {"small", [](const QString& path) { WriteBmpFile(Blocks(400, 216), path); }},
      {"broken",
       [](const QString& path) {
         QFile file(path);
         ASSERT_TRUE(file.open(QIODevice::WriteOnly));
         file.write(EncodeBmp(Blocks(800, 432)).left(5000));
       }},
      {"missing", [](const QString&) {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    const QString path = Path(QString::fromUtf8(c.file) + ".bmp");
    c.write(path);
    const QImage thumbnail = MadeThumbnail(path);
    if (QString::fromUtf8(c.file) == "board")
      EXPECT_TRUE(ShowsBlocks(thumbnail, board));
    else
      EXPECT_TRUE(thumbnail.isNull());
  }
}

TEST_F(Thumbnails, ABoardStoredAgainIsMadeAgain) {
  const QString path = Path("board.bmp");
  WriteBmpFile(Blocks(800, 432), path);
  const QImage first = MadeThumbnail(path);
  EXPECT_TRUE(thumbnails.Thumbnail(path) == first);

  const QImage again = Blocks(800, 432).mirrored(true, false);
  WriteBmpFile(again, path);
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadWrite));
  ASSERT_TRUE(file.setFileTime(file.fileTime(QFileDevice::FileModificationTime).addSecs(5),
                               QFileDevice::FileModificationTime));
  file.close();
  EXPECT_TRUE(ShowsBlocks(MadeThumbnail(path), again));
}

}  // namespace

}  // namespace slatewick
