// Loading a board is one step of the board's undo history.
#include <QDir>

#include "files/FilesFixture.h"
#include "files/PictureFiles.h"
#include "files/Unit_Files.h"

TEST_F(FilesTest, ALoadIsUndoneAndRedoneAndAStoreAfterUndoHoldsTheUndoneBoard) {
  frm.st.BoardReady = true;
  const QImage before = frm.st.BoardBitmap.copy();
  ASSERT_TRUE(QDir().mkpath(UsersPath(QString())));
  WriteBmpFile(PatternBoard(5), UsersPath(QStringLiteral("other.bmp")));
  TfrmFiles files{frm};
  files.FormCreate();
  const auto run = [&](bool load, const QString& title) {
    files.RunModal = [&] {
      files.edtFileName.Text = title;
      files.btnOKClick();
    };
    load ? mnuLoadClick(frm, files) : mnuSaveClick(frm, files);
  };

  run(true, QStringLiteral("other"));
  ASSERT_TRUE(frm.st.BoardBitmap == PatternBoard(5));
  EXPECT_TRUE(frm.Undo());
  EXPECT_TRUE(frm.st.BoardBitmap == before);
  run(false, QStringLiteral("undone"));
  EXPECT_TRUE(ReadBmpFile(UsersPath(QStringLiteral("undone.bmp"))) == before);
  EXPECT_TRUE(frm.Redo());
  EXPECT_TRUE(frm.st.BoardBitmap == PatternBoard(5));
  EXPECT_FALSE(frm.Redo());
}
