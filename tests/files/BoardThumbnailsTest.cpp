#include <QSignalSpy>
#include <QTest>
#include <cstdlib>
#include <filesystem>

#include "files/BoardThumbnails.h"
#include "files/FilesFixture.h"
#include "platform/PictureFiles.h"

namespace slatewick {

namespace {

using Thumbnails = FilesTest;

// The thumbnail is 240 x 130 and shows each 32 x 32 block of the board in its shade of grey.
bool ShowsBlocks(const QImage& thumbnail, const QImage& board) {
  if (thumbnail.size() != QSize(240, 130)) return false;
  for (int y = 16; y < 432; y += 32)
    for (int x = 16; x < 800; x += 32)
      if (std::abs(qGray(board.pixel(x, y)) - qGray(thumbnail.pixel(x * 3 / 10, y * 130 / 432))) >
          4)
        return false;
  return true;
}

TEST_F(Thumbnails, ABoardShowsScaledDownAgainOnceStoredAgainAndAnyOtherFileNothing) {
  BoardThumbnails thumbnails({800, 432}, {240, 130});
  QSignalSpy made(&thumbnails, &BoardThumbnails::Made);
  const QImage board = Blocks(800, 432);
  const struct {
    const char* file;
    QByteArray bytes;  // none: no file
    QImage shown;      // null: nothing shown
  } cases[] = {{"board", EncodeBmp(board), board},
               {"board", EncodeBmp(board.mirrored(true, false)), board.mirrored(true, false)},
               {"small", EncodeBmp(Blocks(400, 216)), {}},
               {"broken", EncodeBmp(board).left(5000), {}},
               {"missing", {}, {}}};
  for (int i = 0; i < int(std::size(cases)); ++i) {
    SCOPED_TRACE(i);
    const QString path = Path(QLatin1String(cases[i].file) + ".bmp");
    if (!cases[i].bytes.isEmpty()) {  // each a second later: a board stored again is new
      WriteFileAtomically(path, cases[i].bytes);
      std::filesystem::last_write_time(
          path.toStdString(),
          std::filesystem::file_time_type::clock::now() + std::chrono::seconds(i));
    }
    made.clear();
    EXPECT_FALSE(thumbnails.Thumbnail(path).has_value());  // made on the worker, not here
    ASSERT_TRUE(QTest::qWaitFor([&] { return made.contains({path}); }, 10000));
    const std::optional<QImage> thumbnail = thumbnails.Thumbnail(path);
    ASSERT_TRUE(thumbnail.has_value());
    EXPECT_TRUE(cases[i].shown.isNull() ? thumbnail->isNull()
                                        : ShowsBlocks(*thumbnail, cases[i].shown));
  }
}

}  // namespace

}  // namespace slatewick
