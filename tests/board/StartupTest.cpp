#include <gtest/gtest.h>

#include <QBuffer>

#include "board/Pixels.h"
#include "board/StartedBoard.h"
#include "board/Tray.h"
#include "platform/AppError.h"
#include "platform/KeyState.h"
#include "platform/PictureFiles.h"
#include "platform/Sound.h"
#include "support/BmpBuilder.h"

namespace slatewick {

namespace {

struct Startup : ::testing::Test {
  ProgramFolder folder;
  Board frm;
};

}  // namespace

// Start-up leaves the state that the other board tests start from (StartBoard).
TEST_F(Startup, BuildsTheBoardTheTrayAndTheChalkTableAsTheTestsStartThem) {
  folder.Write(QStringLiteral("VezozazOption.ini"), "[Opt]\r\nRunWithDay=0\r\n");
  frm.Start();
  Board fixture;
  StartBoard(fixture);
  const BoardState& st = frm.st;
  EXPECT_TRUE(st.BoardReady);
  EXPECT_EQ(st.SelectedChalk, 0);
  EXPECT_EQ(st.ToolMode, NormalWay);
  EXPECT_EQ(st.BoardColor, fixture.st.BoardColor);
  EXPECT_EQ(st.ChalkSize, fixture.st.ChalkSize);
  EXPECT_EQ(st.ChalkSlots, fixture.st.ChalkSlots);
  EXPECT_EQ(st.ChalkColors, fixture.st.ChalkColors);
  EXPECT_EQ(st.CosineTable, fixture.st.CosineTable);
  EXPECT_EQ(st.SoundList.Count(), 1);
  EXPECT_FALSE(st.SoundList.Memory(0) == nullptr);
  EXPECT_TRUE(folder.messages.empty());

  // A fresh board: BoardColor with a black line along its top, left and right edges.
  ASSERT_EQ(st.BoardBitmap.size(), QSize(800, 432));
  EXPECT_EQ(st.BoardBitmap.format(), fixture.st.BoardBitmap.format());
  EXPECT_EQ(At(st.BoardBitmap, 400, 0), 0u);
  EXPECT_EQ(At(st.BoardBitmap, 0, 200), 0u);
  EXPECT_EQ(At(st.BoardBitmap, 799, 431), 0u);
  EXPECT_EQ(At(st.BoardBitmap, 400, 431), kBoard);
  EXPECT_TRUE(AllOf(st.BoardBitmap, 1, 1, 799, 432, kBoard));
}

TEST_F(Startup, FirstFrameShowsTheTrayWithTheWhiteChalkInTheHand) {
  frm.Start();
  const QImage& frame = frm.DXDraw.FrontBuffer();
  ASSERT_EQ(frame.size(), QSize(800, 480));
  // Slot 0 shows the bare tray band; the other slots hold their piece.
  const TrayGeometry tray{800, 480, 432};
  const TRect bare = tray.ChalkSlot(0);
  EXPECT_TRUE(TrayBandAt(frame, frm.st.TrayBitmap, bare.Left, bare.Top, bare.Right, bare.Bottom));
  for (int j = 1; j < 6; ++j) {
    const TRect slot = tray.ChalkSlot(j);
    EXPECT_TRUE(ShowsMasked(frame, slot.Left, slot.Top, frm.st.ChalkBitmap, slot.Width() * j, 0,
                            slot.Width(), slot.Height()))
        << j;
  }
  // Until the pointer moves, the held chalk is drawn at (-3, -3).
  EXPECT_TRUE(ShowsMasked(frame, -3, -3, frm.st.HeldChalkBitmap, 0, 0, 40, 40));
}

TEST_F(Startup, MissingTapSoundInTheCurrentFolderIsReportedAndTapsStaySilent) {
  folder.Remove(QStringLiteral("start0.wav"));  // the pictures' folder is not searched
  frm.Start();
  ASSERT_EQ(folder.messages.size(), 1u);
  EXPECT_EQ(folder.messages[0], QStringLiteral("\"Start0.wav\"がありません"));
  EXPECT_EQ(frm.st.SoundList.Memory(0), nullptr);
  EXPECT_TRUE(frm.st.BoardReady);
}

TEST_F(Startup, TapSoundClaimingMoreThanTheFileHoldsIsCutToTheFile) {
  QByteArray wav("RIFF\xff\xff\xff\x7fWAVEfmt ", 16);
  wav.append(QByteArray(40, '\0'));
  folder.Write(QStringLiteral("start0.wav"), wav);
  frm.Start();
  const auto* image = static_cast<const unsigned char*>(frm.st.SoundList.Memory(0));
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image[4] | (image[5] << 8), wav.size() - 8);
  EXPECT_EQ(image[6] | image[7], 0);
}

// A tap sound beyond 16 MB is not read: the board starts, its taps are silent.
TEST_F(Startup, TapSoundAboveTheLimitIsNotReadAndTapsStaySilent) {
  QByteArray wav("RIFF\xf9\xff\x00\x01WAVEfmt ", 16);
  folder.Write(QStringLiteral("start0.wav"), wav);
  QFile file(folder.Path(QStringLiteral("start0.wav")));
  ASSERT_TRUE(file.resize(qint64(MaxSoundBytes) + 1));
  frm.Start();
  EXPECT_EQ(frm.st.SoundList.Memory(0), nullptr);
  EXPECT_TRUE(folder.messages.empty());
  EXPECT_TRUE(frm.st.BoardReady);
}

TEST_F(Startup, MissingPictureNamesTheFileAndLeavesTheBoardIdle) {
  folder.Remove(QStringLiteral("Hand.bmp"));
  try {
    frm.Start();
    FAIL() << "start-up went on without Hand.bmp";
  } catch (const AppError& error) {
    EXPECT_TRUE(error.Message().contains(folder.Path(QStringLiteral("Hand.bmp"))));
  }
  EXPECT_FALSE(frm.st.BoardReady);
  // Input and frame steps keep away from the pictures that never loaded.
  CurrentKeys().Left = true;
  frm.Press(MouseButton::Left, 100, 100);
  frm.Move(120, 120);
  frm.Tick(1);
  EXPECT_FALSE(frm.st.PenDown);
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
    Board board;
    folder.Write(QStringLiteral("Chalk.bmp"), bytes);
    try {
      board.Start();
      FAIL() << "start-up went on with a broken Chalk.bmp";
    } catch (const AppError& error) {
      EXPECT_TRUE(error.Message().contains(folder.Path(QStringLiteral("Chalk.bmp"))));
      EXPECT_TRUE(error.Message().contains(QString::fromUtf8(why))) << error.what();
    }
    EXPECT_FALSE(board.st.BoardReady);
    EXPECT_TRUE(board.st.HeldChalkBitmap.isNull()) << "later pictures are not loaded";
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
  Board board;
  board.Start();
  ASSERT_TRUE(board.st.BoardReady);
  board.DrawDate();
  CurrentKeys() = {.Left = true};
  for (int chalk = 5; chalk >= -1; --chalk) {
    board.st.SelectedChalk = std::int8_t(chalk);
    board.Press(MouseButton::Left, 300, 200);
    for (int x = 300; x < 340; x += 4) board.Move(x, 200 + chalk);
    board.Release(MouseButton::Left, 340, 200);
    board.Move(400, 460);  // the hand over the tray
    board.Tick(1);
  }
  EXPECT_EQ(board.WholeFrame().size(), QSize(800, 480));
  EXPECT_TRUE(folder.messages.empty());
}

}  // namespace slatewick
