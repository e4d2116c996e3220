#pragma once
#include <QImage>
#include <QString>
#include <optional>

#include "board/Story.h"

namespace slatewick {

// A stored board keeps its story beside its picture: "users/TITLE.story" beside "TITLE.bmp".
QString StoryPathOf(const QString& boardPath);

// The story stored beside a board, read as an untrusted file and checked against the board's
// picture.
struct StoredStory {
  std::optional<Story> story;  // the story, when it is whole and ends on the picture
  QString refusal;             // why a story file there was refused; empty otherwise
};
// No story file, or a story that ends on another picture (the board was changed elsewhere), gives
// neither a story nor a refusal; a file that cannot be read, or is larger than a story may be, is
// refused like a broken one.
StoredStory ReadStoredStory(const QString& boardPath, const QImage& boardPicture);

}  // namespace slatewick
