#include "files/StoredStory.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace slatewick {

QString StoryPathOf(const QString& boardPath) {
  const QFileInfo board(boardPath);
  return board.dir().filePath(board.completeBaseName() + QStringLiteral(".story"));
}

StoredStory ReadStoredStory(const QString& boardPath, const QImage& boardPicture) {
  const QString path = StoryPathOf(boardPath);
  const QFileInfo info(path);
  if (!info.exists()) return {};
  if (!info.isFile() || info.size() > Story::MaxUnpacked)
    return {{}, QStringLiteral("It is not a file a story may be.")};
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {{}, file.errorString()};
  StoryRead read = Story::Decode(file.read(Story::MaxUnpacked + 1));
  if (!read.story) return {{}, read.refusal};
  if (read.endHash != Story::PictureHash(boardPicture) ||
      read.story->Picture().size() != boardPicture.size())
    return {};
  return {std::move(read.story), {}};
}

}  // namespace slatewick
