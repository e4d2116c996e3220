// Loading a board is one step of the board's undo history.
#include <QDir>

#include "files/FilesFixture.h"
#include "platform/PictureFiles.h"

namespace slatewick {

TEST_F(ChooserTest, ALoadIsUndoneAndRedoneAndAStoreAfterUndoHoldsTheUndoneBoard) {
  CopyProgramFiles();
  frm.Start();
  const QImage before = frm.BoardPicture().copy();
  ASSERT_TRUE(QDir().mkpath(UsersPath(QString())));
  WriteBmpFile(PatternBoard(5), UsersPath(QStringLiteral("other.bmp")));

  Load(QStringLiteral("other"));
  ASSERT_TRUE(frm.BoardPicture() == PatternBoard(5));
  EXPECT_TRUE(frm.Undo());
  EXPECT_TRUE(frm.BoardPicture() == before);
  Store(QStringLiteral("undone"));
  EXPECT_TRUE(ReadBmpFile(UsersPath(QStringLiteral("undone.bmp"))) == before);
  EXPECT_TRUE(frm.Redo());
  EXPECT_TRUE(frm.BoardPicture() == PatternBoard(5));
  EXPECT_FALSE(frm.Redo());
}

}  // namespace slatewick
