// A stored board keeps its story beside its picture; a load goes on with it when it ends on the
// picture, starts anew when the picture was changed elsewhere, and says so when it is broken.
#include "board/StoryPlayer.h"
#include "files/FilesFixture.h"
#include "files/StoredStory.h"
#include "platform/PictureFiles.h"

namespace slatewick {

TEST_F(ChooserTest, AStoredBoardKeepsItsStoryAndALoadGoesOnWithIt) {
  CopyProgramFiles();
  frm.Start();
  const QImage start = frm.BoardPicture().copy();
  frm.Press(MouseButton::Left, 100, 100);
  for (int x = 104; x < 200; x += 4) frm.Move(x, 120);
  frm.Release(MouseButton::Left, 200, 120);
  const QImage drawn = frm.BoardPicture().copy();
  const std::size_t drawnEvents = frm.CurrentStory().Events().size();
  ASSERT_EQ(Store(QStringLiteral("lesson")), DialogResult::OK);
  EXPECT_EQ(ListBoardTitles(UsersPath(QString())), QStringList{QStringLiteral("lesson")});

  const QString board = UsersPath(QStringLiteral("lesson.bmp"));
  const QByteArray story = ReadBytes(StoryPathOf(board));
  const struct {
    const char* name;
    QByteArray storyFile;
    QImage picture;  // written as the board file
    bool continued;
    bool refusalShown;
  } cases[] = {
      {"its own story", story, drawn, true, false},
      {"a picture changed elsewhere", story, PatternBoard(3), false, false},
      {"a broken story", story.left(story.size() / 2), drawn, false, true},
      {"no story", QByteArray(), drawn, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    boxes.clear();
    WriteBmpFile(c.picture, board);
    QFile::remove(StoryPathOf(board));
    if (!c.storyFile.isEmpty()) WriteBytes(StoryPathOf(board), c.storyFile);
    frm.LoadPicture(PatternBoard(1));
    ASSERT_EQ(Load(QStringLiteral("lesson")), DialogResult::OK);
    EXPECT_TRUE(SamePixels(frm.BoardPicture(), c.picture));
    EXPECT_TRUE(SamePixels(frm.CurrentStory().Picture(), c.continued ? start : c.picture));
    EXPECT_EQ(frm.CurrentStory().Events().size(), c.continued ? drawnEvents + 1 : 0u);
    StoryPlayer player(frm.CurrentStory(), frm.Pictures(), test.sound, {});
    player.PlayUntil(player.Duration());
    EXPECT_TRUE(SamePixels(player.Played().Picture(), c.picture));
    ASSERT_EQ(boxes.size(), c.refusalShown ? 1u : 0u);
    if (c.refusalShown) {
      EXPECT_TRUE(boxes[0].Text.contains(QStringLiteral("lesson")));
    }
  }
}

}  // namespace slatewick
