// The board's story: recorded as the board is drawn on, played again by a board of its own to the
// same pixels, stored and read back, and refused when its bytes are not a whole story.
#include <gtest/gtest.h>

#include <QDate>

#include "board/BoardFixture.h"
#include "board/Pixels.h"
#include "board/StoryPlayer.h"

namespace slatewick {

namespace {

class StoryTest : public StartedBoardTest {
 protected:
  void SetUp() override {
    test.clock.ms = 5000;
    StartedBoardTest::SetUp();
    frm.AfterShown();
  }
  // Frame steps 10 ms apart.
  void Ticks(int n) {
    for (int i = 0; i < n; ++i) {
      *test.clock.ms += 10;
      frm.Tick();
    }
  }
  // A drag with the button held: a move and a frame step each `step` pixels.
  void Drag(MouseButton b, QPoint from, QPoint to, int steps) {
    Press(b, from.x(), from.y());
    for (int i = 1; i <= steps; ++i) {
      Move(from.x() + (to.x() - from.x()) * i / steps, from.y() + (to.y() - from.y()) * i / steps);
      Ticks(1);
    }
    Release(b, to.x(), to.y());
    Ticks(2);
  }
  // The board that plays the story from its beginning to its end.
  std::unique_ptr<StoryPlayer> Played(const Story& story) {
    auto player = std::make_unique<StoryPlayer>(story, frm.Pictures(), played, frm.TapSound());
    player->PlayUntil(player->Duration());
    return player;
  }
  void ExpectPlayedAlike(const Story& story) {
    const auto player = Played(story);
    EXPECT_TRUE(player->Ended());
    EXPECT_TRUE(SamePixels(player->Played().Picture(), frm.Picture()));
    EXPECT_EQ(player->Played().HandState(), hand());
    EXPECT_EQ(player->Played().Dust().Particles(), frm.Dust().Particles());
    EXPECT_EQ(player->Played().Env().random.State(), test.env.random.State());
  }

  RecordingSound played;
};

}  // namespace

// A lesson drawn with every tool, with frame steps between the moves, recorded by the board and
// played by a board of its own: the same pixels, hand, dust and generator.
TEST_F(StoryTest, ADrawingWithEveryToolPlaysBackToTheSamePixels) {
  Drag(MouseButton::Left, {100, 100}, {220, 160}, 30);  // the flat of the chalk
  PickUp(1);
  keys.Ctrl = true;
  Drag(MouseButton::Left, {100, 300}, {250, 250}, 25);  // its corner
  keys.Ctrl = false;
  PickUp(3);
  LayChalk(3);
  Press(MouseButton::Left, 400, 200);  // laid, turned by the wheel and an arrow, dragged
  frm.WheelTowardsUser();
  frm.KeyDown(Key::RightArrow, false);
  for (int x = 404; x < 480; x += 4) {
    Move(x, 210);
    Ticks(1);
  }
  Release(MouseButton::Left, 480, 210);
  LayChalk();
  Drag(MouseButton::Right, {120, 120}, {200, 150}, 10);  // the finger
  PickUp(4);
  Press(MouseButton::Left, 600, 300);  // tapping: both buttons held over many frame steps
  Press(MouseButton::Right, 600, 300);
  Ticks(40);
  Move(620, 310);
  Ticks(40);
  Release(MouseButton::Right, 620, 310);
  Release(MouseButton::Left, 620, 310);
  settings().ShowDust = false;  // the settings dialog's OK, between two strokes
  PickUp(EraserSelected);
  Drag(MouseButton::Left, {180, 140}, {240, 150}, 6);
  ASSERT_TRUE(frm.Undo());
  ASSERT_TRUE(frm.Redo());
  ASSERT_TRUE(frm.Undo());
  test.clock.now = QDateTime(QDate(2026, 12, 8), QTime(9, 0));
  frm.WriteDate();
  Ticks(300);  // the dust falls into the tray
  ASSERT_GT(frm.CurrentStory().Events().size(), 500u);
  ExpectPlayedAlike(frm.CurrentStory());

  // Stored and read back, it plays alike too.
  const StoryRead read = Story::Decode(frm.CurrentStory().Encode(frm.Picture()));
  ASSERT_TRUE(read.story) << read.refusal.toStdString();
  EXPECT_EQ(read.endHash, Story::PictureHash(frm.Picture()));
  EXPECT_EQ(read.story->Events(), frm.CurrentStory().Events());
  ExpectPlayedAlike(*read.story);
}

// A clear, a loaded picture and an undo past the story's own changes each start the story anew,
// from the board as it then stands.
TEST_F(StoryTest, AClearALoadAndAnUndoBeforeTheStoryStartItAgain) {
  folder.seams.answer = [](const MessageBoxRequest&) { return BoxAnswer::Yes; };
  Drag(MouseButton::Left, {100, 100}, {200, 100}, 20);
  frm.ClearBoard();
  EXPECT_TRUE(SamePixels(frm.CurrentStory().Picture(), frm.Picture()));
  Drag(MouseButton::Left, {100, 200}, {200, 200}, 20);
  ExpectPlayedAlike(frm.CurrentStory());

  ASSERT_TRUE(frm.Undo());  // the stroke after the clear: the story's own
  ASSERT_TRUE(frm.Undo());  // the clear itself: before the story
  EXPECT_TRUE(SamePixels(frm.CurrentStory().Picture(), frm.Picture()));
  EXPECT_TRUE(frm.CurrentStory().Events().empty());

  frm.LoadPicture(QImage(800, 432, QImage::Format_RGB32));
  EXPECT_TRUE(SamePixels(frm.CurrentStory().Picture(), frm.Picture()));
  Drag(MouseButton::Right, {300, 200}, {360, 240}, 10);
  ExpectPlayedAlike(frm.CurrentStory());
}

// A story file is input from disk: whatever its bytes, it is read whole or refused with a reason,
// without a crash or an allocation beyond its limits.
TEST_F(StoryTest, BrokenOrHostileStoriesAreRefused) {
  Drag(MouseButton::Left, {100, 100}, {200, 100}, 10);
  const QByteArray good = frm.CurrentStory().Encode(frm.Picture());
  QByteArray wrongVersion = good;
  wrongVersion[8] = 2;
  // More cases, cut and flipped ones among them, are in the story fuzzer's corpus.
  for (const QByteArray& bytes :
       {QByteArray("BM this is a bitmap"), wrongVersion, good.left(good.size() - 7), good + "more",
        QByteArray("SLWKSTRY\x01\0\0\0\x28\xB5\x2F\xFD\xA4\xFF\xFF\xFF\x7F", 17)}) {
    const StoryRead read = Story::Decode(bytes);
    EXPECT_TRUE(!read.story && !read.refusal.isEmpty()) << bytes.left(24).toHex().toStdString();
  }
}

}  // namespace slatewick
