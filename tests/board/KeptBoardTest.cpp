// The board kept for the next run: written at quit only when it changed, and offered back at
// start-up as the one step to undo; a missing or unfit file is passed over in silence.
#include <gtest/gtest.h>

#include <QFile>
#include <memory>
#include <optional>

#include "board/BoardFixture.h"
#include "board/Pixels.h"
#include "platform/Canvas.h"
#include "platform/PictureFiles.h"

namespace slatewick {

namespace {

const QString Kept = QStringLiteral("LastBoard.bmp");

struct KeptBoardTest : ::testing::Test {
  void SetUp() override {
    folder.Write(QStringLiteral("VezozazOption.ini"), "[Opt]\r\nRunWithDay=0\r\n");
  }
  // A clean board with a white band across it, as a stroke leaves it.
  static QImage Drawn(QImage board) {
    Canvas c(board);
    c.brush.Color = kWhite;
    c.FillRect({100, 150, 400, 160});
    return board;
  }
  QByteArray Bmp(const QImage& picture) const { return EncodeBmp(picture); }

  ProgramFolder folder;
  TestEnvironment test;
};

}  // namespace

TEST_F(KeptBoardTest, AtStartUpAFitKeptBoardIsOneUndoAwayAndAnUnfitOneIsPassedOver) {
  Board probe(test.env);
  probe.Start();
  const QImage clean = probe.Picture().copy();
  const QImage drawn = Drawn(clean);
  const struct {
    const char* name;
    std::optional<QByteArray> file;
    bool step;
  } cases[] = {
      {"missing", std::nullopt, false},
      {"not a bitmap", QByteArray("LastBoard"), false},
      {"cut short", Bmp(drawn).left(5000), false},
      {"another size", Bmp(drawn.copy(0, 0, 800, 431)), false},
      {"the start-up board itself", Bmp(clean), false},
      {"a drawn board", Bmp(drawn), true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    folder.Remove(Kept);
    if (c.file) folder.Write(Kept, *c.file);
    Board frm(test.env);
    frm.Start();
    frm.AfterShown();
    EXPECT_TRUE(folder.messages.empty());
    EXPECT_TRUE(frm.Picture() == clean);  // start-up itself is as always
    EXPECT_EQ(frm.History().UndoCount(), c.step ? 1 : 0);
    if (!c.step) continue;
    ASSERT_TRUE(frm.Undo());
    EXPECT_TRUE(frm.Picture() == drawn);
    ASSERT_TRUE(frm.Redo());
    EXPECT_TRUE(frm.Picture() == clean);
  }
}

TEST_F(KeptBoardTest, QuittingWritesAChangedBoardOnlyAndTheNextRunOffersItBack) {
  {
    Board frm(test.env);
    frm.KeepBoard();  // before start-up: nothing to keep
    EXPECT_FALSE(QFile::exists(folder.Path(Kept)));
    frm.Start();
    frm.AfterShown();
    frm.KeepBoard();  // the start-up board as it was
    EXPECT_FALSE(QFile::exists(folder.Path(Kept)));

    frm.BoardPicture() = Drawn(frm.Picture());
    frm.KeepBoard();
    ASSERT_TRUE(QFile::exists(folder.Path(Kept)));
    EXPECT_TRUE(ReadBmpFile(folder.Path(Kept)) == frm.Picture());

    folder.Remove(Kept);
    frm.KeepBoard();  // unchanged since it was written
    EXPECT_FALSE(QFile::exists(folder.Path(Kept)));
    frm.BoardPicture().setPixel(0, 0, frm.Picture().pixel(0, 0));  // touched, not changed
    frm.KeepBoard();
    EXPECT_FALSE(QFile::exists(folder.Path(Kept)));
    frm.BoardPicture().setPixel(10, 10, qRgb(255, 255, 255));  // a change
    frm.KeepBoard();
    EXPECT_TRUE(QFile::exists(folder.Path(Kept)));
  }
  Board next(test.env);
  next.Start();
  next.AfterShown();
  const QImage clean = next.Picture().copy();
  ASSERT_TRUE(next.Undo());
  EXPECT_EQ(At(next.Picture(), 200, 155), kWhite);
  EXPECT_EQ(At(next.Picture(), 10, 10), kWhite);
  ASSERT_TRUE(next.Redo());
  EXPECT_TRUE(next.Picture() == clean);
}

// Two programs run from one folder: each keeps its board in its own file, and neither board is
// lost; a board that a running program holds is not offered to another.
TEST_F(KeptBoardTest, TwoRunningProgramsKeepBothBoardsAndTheNextRunOffersBoth) {
  const auto started = [this] {
    auto frm = std::make_unique<Board>(test.env);
    frm->Start();
    frm->AfterShown();
    return frm;
  };
  auto first = started(), second = started();
  const QImage clean = first->Picture().copy();
  first->BoardPicture() = Drawn(clean);
  first->KeepBoard();
  second->BoardPicture() = clean.mirrored(false, true);
  second->KeepBoard();
  EXPECT_EQ(started()->History().UndoCount(), 0);  // both boards are held by their programs
  const QImage firstBoard = first->Picture(), secondBoard = second->Picture();
  first.reset();
  second.reset();
  EXPECT_TRUE(ReadBmpFile(folder.Path(Kept)) == firstBoard);
  EXPECT_TRUE(ReadBmpFile(folder.Path(QStringLiteral("LastBoard-2.bmp"))) == secondBoard);
  // Written within the same millisecond, the two would tie: the first is a minute older.
  QFile kept(folder.Path(Kept));
  ASSERT_TRUE(kept.open(QIODevice::ReadWrite));
  ASSERT_TRUE(kept.setFileTime(QDateTime::currentDateTime().addSecs(-60),
                               QFileDevice::FileModificationTime));
  kept.close();

  auto next = started();
  EXPECT_EQ(next->History().UndoCount(), 2);
  ASSERT_TRUE(next->Undo());
  EXPECT_TRUE(next->Picture() == secondBoard);  // the one written last comes first
  ASSERT_TRUE(next->Undo());
  EXPECT_TRUE(next->Picture() == firstBoard);
}

}  // namespace slatewick
