// The board kept for the next run: written at quit only when it changed, and offered back at
// start-up as the one step to undo; a missing or unfit file is passed over in silence.
#include <gtest/gtest.h>

#include <QFile>
#include <memory>
#include <optional>

#include "board/Pixels.h"
#include "board/StartedBoard.h"
#include "platform/Canvas.h"
#include "platform/PictureFiles.h"

namespace slatewick {

namespace {

const QString Kept = QStringLiteral("LastBoard.bmp");

struct KeptBoardTest : ::testing::Test {
  void SetUp() override {
    CurrentKeys() = {};
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
};

}  // namespace

TEST_F(KeptBoardTest, AtStartUpAFitKeptBoardIsOneUndoAwayAndAnUnfitOneIsPassedOver) {
  Board probe;
  probe.Start();
  const QImage clean = probe.st.BoardBitmap.copy();
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
    Board frm;
    frm.Start();
    frm.AfterShown();
    EXPECT_TRUE(folder.messages.empty());
    EXPECT_TRUE(frm.st.BoardBitmap == clean);  // start-up itself is as always
    EXPECT_EQ(frm.st.History.UndoCount(), c.step ? 1 : 0);
    if (!c.step) continue;
    ASSERT_TRUE(frm.Undo());
    EXPECT_TRUE(frm.st.BoardBitmap == drawn);
    ASSERT_TRUE(frm.Redo());
    EXPECT_TRUE(frm.st.BoardBitmap == clean);
  }
}

TEST_F(KeptBoardTest, QuittingWritesAChangedBoardOnlyAndTheNextRunOffersItBack) {
  {
    Board frm;
    frm.KeepBoard();  // before start-up: nothing to keep
    EXPECT_FALSE(QFile::exists(folder.Path(Kept)));
    frm.Start();
    frm.AfterShown();
    frm.KeepBoard();  // the start-up board as it was
    EXPECT_FALSE(QFile::exists(folder.Path(Kept)));

    frm.st.BoardBitmap = Drawn(frm.st.BoardBitmap);
    frm.KeepBoard();
    ASSERT_TRUE(QFile::exists(folder.Path(Kept)));
    EXPECT_TRUE(ReadBmpFile(folder.Path(Kept)) == frm.st.BoardBitmap);

    folder.Remove(Kept);
    frm.KeepBoard();  // unchanged since it was written
    EXPECT_FALSE(QFile::exists(folder.Path(Kept)));
    frm.st.BoardBitmap.setPixel(0, 0, frm.st.BoardBitmap.pixel(0, 0));  // touched, not changed
    frm.KeepBoard();
    EXPECT_FALSE(QFile::exists(folder.Path(Kept)));
    frm.st.BoardBitmap.setPixel(10, 10, qRgb(255, 255, 255));  // a change
    frm.KeepBoard();
    EXPECT_TRUE(QFile::exists(folder.Path(Kept)));
  }
  Board next;
  next.Start();
  next.AfterShown();
  const QImage clean = next.st.BoardBitmap.copy();
  ASSERT_TRUE(next.Undo());
  EXPECT_EQ(At(next.st.BoardBitmap, 200, 155), kWhite);
  EXPECT_EQ(At(next.st.BoardBitmap, 10, 10), kWhite);
  ASSERT_TRUE(next.Redo());
  EXPECT_TRUE(next.st.BoardBitmap == clean);
}

// Two programs run from one folder: each keeps its board in its own file, and neither board is
// lost; a board that a running program holds is not offered to another.
TEST_F(KeptBoardTest, TwoRunningProgramsKeepBothBoardsAndTheNextRunOffersBoth) {
  const auto started = [] {
    auto frm = std::make_unique<Board>();
    frm->Start();
    frm->AfterShown();
    return frm;
  };
  auto first = started(), second = started();
  const QImage clean = first->st.BoardBitmap.copy();
  first->st.BoardBitmap = Drawn(clean);
  first->KeepBoard();
  second->st.BoardBitmap = clean.mirrored(false, true);
  second->KeepBoard();
  EXPECT_EQ(started()->st.History.UndoCount(), 0);  // both boards are held by their programs
  const QImage firstBoard = first->st.BoardBitmap, secondBoard = second->st.BoardBitmap;
  first.reset();
  second.reset();
  EXPECT_TRUE(ReadBmpFile(folder.Path(Kept)) == firstBoard);
  EXPECT_TRUE(ReadBmpFile(folder.Path(QStringLiteral("LastBoard-2.bmp"))) == secondBoard);

  auto next = started();
  EXPECT_EQ(next->st.History.UndoCount(), 2);
  ASSERT_TRUE(next->Undo());
  EXPECT_TRUE(next->st.BoardBitmap == secondBoard);  // the one written last comes first
  ASSERT_TRUE(next->Undo());
  EXPECT_TRUE(next->st.BoardBitmap == firstBoard);
}

}  // namespace slatewick
