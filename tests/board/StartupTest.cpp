#include <gtest/gtest.h>

#include <QBuffer>
#include <QtEndian>

#include "board/BoardFixture.h"
#include "board/Pixels.h"
#include "board/Tray.h"
#include "platform/AppError.h"
#include "platform/PictureFiles.h"
#include "platform/Sound.h"
#include "support/BmpBuilder.h"

namespace slatewick {

namespace {

struct Startup : ::testing::Test {
  ProgramFolder folder;
  TestEnvironment test;
  Board frm{test.env};
};

}  // namespace

TEST_F(Startup, StartsWithTheWhiteChalkOnAFreshBoardAndTheTapSoundReadyOnceShown) {
  folder.Write(QStringLiteral("VezozazOption.ini"), "[Opt]\r\nRunWithDay=0\r\n");
  frm.Start();
  EXPECT_TRUE(frm.Ready());
  EXPECT_EQ(frm.HandState(), Hand{});
  EXPECT_TRUE(frm.TapSound().Silent());
  frm.AfterShown();
  ASSERT_EQ(test.sound.prepared.size(), 1u);
  EXPECT_TRUE(test.sound.prepared[0].startsWith("RIFF"));
  EXPECT_FALSE(frm.TapSound().Silent());
  EXPECT_TRUE(folder.messages.empty());

  // A fresh board: BoardColour with a black line along its top, left and right edges.
  const QImage& board = frm.Picture();
  ASSERT_EQ(board.size(), QSize(800, 432));
  EXPECT_EQ(board.format(), QImage::Format_RGB32);
  EXPECT_EQ(At(board, 400, 0), 0u);
  EXPECT_EQ(At(board, 0, 200), 0u);
  EXPECT_EQ(At(board, 799, 431), 0u);
  EXPECT_EQ(At(board, 400, 431), kBoard);
  EXPECT_TRUE(AllOf(board, 1, 1, 799, 432, kBoard));
}

TEST_F(Startup, FirstFrameShowsTheTrayWithTheWhiteChalkInTheHand) {
  frm.Start();
  const QImage& frame = frm.Surface().FrontBuffer();
  ASSERT_EQ(frame.size(), QSize(800, 480));
  // Slot 0 shows the bare tray band; the other slots hold their piece.
  const TrayGeometry tray{800, 480, 432};
  const Rect bare = tray.ChalkSlot(0);
  EXPECT_TRUE(TrayBandAt(frame, frm.Pictures().tray, bare.Left, bare.Top, bare.Right, bare.Bottom));
  for (int j = 1; j < 6; ++j) {
    const Rect slot = tray.ChalkSlot(j);
    EXPECT_TRUE(ShowsMasked(frame, slot.Left, slot.Top, frm.Pictures().chalks, slot.Width() * j, 0,
                            slot.Width(), slot.Height()))
        << j;
  }
  // Until the pointer moves, the held chalk is drawn at (-3, -3).
  EXPECT_TRUE(ShowsMasked(frame, -3, -3, frm.Pictures().heldChalks, 0, 0, 40, 40));
}

TEST_F(Startup, MissingTapSoundInTheCurrentFolderIsReportedAndTapsStaySilent) {
  folder.Remove(QStringLiteral("start0.wav"));  // the pictures' folder is not searched
  frm.Start();
  frm.AfterShown();
  ASSERT_EQ(folder.messages.size(), 1u);
  EXPECT_EQ(folder.messages[0], QStringLiteral("\"Start0.wav\"がありません"));
  EXPECT_TRUE(frm.TapSound().Silent());
  EXPECT_TRUE(frm.Ready());
}

TEST_F(Startup, TapSoundClaimingMoreThanTheFileHoldsIsCutToTheFile) {
  QByteArray wav("RIFF\xff\xff\xff\x7fWAVEfmt ", 16);
  wav.append(QByteArray(40, '\0'));
  folder.Write(QStringLiteral("start0.wav"), wav);
  frm.Start();
  frm.AfterShown();
  ASSERT_EQ(test.sound.prepared.size(), 1u);
  const QByteArray& image = test.sound.prepared[0];
  EXPECT_EQ(qFromLittleEndian<quint32>(image.constData() + 4), quint32(wav.size() - 8));
}

// A tap sound beyond 16 MB is not read: the board starts, its taps are silent.
TEST_F(Startup, TapSoundAboveTheLimitIsNotReadAndTapsStaySilent) {
  QByteArray wav("RIFF\xf9\xff\x00\x01WAVEfmt ", 16);
  folder.Write(QStringLiteral("start0.wav"), wav);
  QFile file(folder.Path(QStringLiteral("start0.wav")));
  ASSERT_TRUE(file.resize(qint64(MaxSoundBytes) + 1));
  frm.Start();
  frm.AfterShown();
  EXPECT_TRUE(frm.TapSound().Silent());
  EXPECT_TRUE(folder.messages.empty());
  EXPECT_TRUE(frm.Ready());
}

TEST_F(Startup, MissingPictureNamesTheFileAndLeavesTheBoardIdle) {
  folder.Remove(QStringLiteral("Hand.bmp"));
  try {
    frm.Start();
    FAIL() << "start-up went on without Hand.bmp";
  } catch (const AppError& error) {
    EXPECT_TRUE(error.Message().contains(folder.Path(QStringLiteral("Hand.bmp"))));
  }
  EXPECT_FALSE(frm.Ready());
  // Input and frame steps keep away from the pictures that never loaded.
  test.env.keys.Left = true;
  frm.Press(MouseButton::Left, 100, 100);
  frm.Move(120, 120);
  frm.Tick();
  EXPECT_FALSE(frm.HandState().toolDown);
}

TEST_F(Startup, BrokenPictureIsRefusedWithTheFileAndTheReason) {
  QFile chalk(folder.Path(QStringLiteral("Chalk.bmp")));
  ASSERT_TRUE(chalk.open(QIODevice::ReadOnly));
  const QByteArray whole = chalk.readAll();
  chalk.close();
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  QImage(312, 11, QImage::Format_RGB32).save(&buffer, "PNG");
  // A few bytes of runs that declare a picture far larger than any the program uses.
  const QByteArray bomb = MakeBmp({.width = 5000,
                                   .height = 5000,
                                   .bits = 8,
                                   .compression = 1,
                                   .colours = 1,
                                   .palette = {0},
                                   .pixels = QByteArray("\0\1", 2)});
  const std::pair<QByteArray, const char*> cases[] = {
      {whole.left(whole.size() / 2), "ends before its pixels do"},
      {png, "not a BMP file"},
      {"not a bitmap", "not a BMP file"},
      {bomb, "is larger than the 4096 x 4096 pixels"}};
  for (const auto& [bytes, why] : cases) {
    SCOPED_TRACE(why);
    Board board(test.env);
    folder.Write(QStringLiteral("Chalk.bmp"), bytes);
    try {
      board.Start();
      FAIL() << "start-up went on with a broken Chalk.bmp";
    } catch (const AppError& error) {
      EXPECT_TRUE(error.Message().contains(folder.Path(QStringLiteral("Chalk.bmp"))));
      EXPECT_TRUE(error.Message().contains(QString::fromUtf8(why))) << error.what();
    }
    EXPECT_FALSE(board.Ready());
    EXPECT_TRUE(board.Pictures().heldChalks.isNull()) << "later pictures are not loaded";
  }
}

// Pictures a little smaller than the regions drawn from them are taken as they are: what lies
// beyond them is not drawn, and nothing reads past them.
TEST_F(Startup, PicturesShorterThanTheirRegionsStillDraw) {
  for (const char* name :
       {"Ukezara.bmp", "Chalk.bmp", "Erase.bmp", "MotiChalk.bmp", "Hand.bmp", "Moji.bmp"}) {
    const QString path = folder.Path(QString::fromLatin1(name));
    const QImage full = ReadBmpFile(path);
    folder.Write(QString::fromLatin1(name),
                 EncodeBmp(full.copy(0, 0, std::max(full.width() - 12, 1),
                                     std::max(full.height() - 12, 1))));
  }
  Board board(test.env);
  board.Start();
  ASSERT_TRUE(board.Ready());
  board.WriteDate();
  test.env.keys = {.Left = true};
  const TrayGeometry tray{800, 480, 432};
  for (int chalk = 5; chalk >= -1; --chalk) {
    const Rect slot = chalk >= 0 ? tray.ChalkSlot(chalk) : tray.EraserHit();
    board.Press(MouseButton::Left, slot.Left + 1, slot.Top + 1);
    board.Release(MouseButton::Left, slot.Left + 1, slot.Top + 1);
    board.Press(MouseButton::Left, 300, 200);
    for (int x = 300; x < 340; x += 4) board.Move(x, 200 + chalk);
    board.Release(MouseButton::Left, 340, 200);
    board.Move(400, 460);  // the hand over the tray
    board.Tick();
  }
  EXPECT_EQ(board.WholeFrame().size(), QSize(800, 480));
  EXPECT_TRUE(folder.messages.empty());
}

}  // namespace slatewick
