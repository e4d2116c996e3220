// A board's story as a video: its frames, length, last picture and taps, from the menu's export and
// from the command line.
#include "files/FilesFixture.h"
#include "files/StoryVideo.h"
#include "files/VideoCommandLine.h"
#include "platform/PictureFiles.h"
#include "support/WebmReadBack.h"

namespace slatewick {

namespace {

class StoryVideoTest : public ChooserTest {
 protected:
  void SetUp() override {
    ChooserTest::SetUp();
    CopyProgramFiles();
    test.clock.ms = 5000;
    frm.Start();
    frm.AfterShown();
    // A stroke, a pause of 3 s that the video shortens to 2 s, and the chalk tapping.
    frm.Press(MouseButton::Left, 100, 100);
    for (int x = 104; x < 240; x += 4) {
      frm.Move(x, 100 + x / 8);
      Ticks(1);
    }
    frm.Release(MouseButton::Left, 240, 130);
    *test.clock.ms += 3000;
    Ticks(1);
    frm.Press(MouseButton::Left, 400, 200);
    frm.Press(MouseButton::Right, 400, 200);
    Ticks(20);
    frm.Release(MouseButton::Right, 400, 200);
    frm.Release(MouseButton::Left, 400, 200);
    Ticks(5);
  }
  void Ticks(int n) {
    for (int i = 0; i < n; ++i) {
      *test.clock.ms += 10;
      frm.Tick();
    }
  }
};

}  // namespace

// From the command line: the video of a stored board, with the story's length, its taps and its
// last frame, or one line saying why not. Cancelled, an export writes nothing.
TEST_F(StoryVideoTest, TheCommandLineWritesAStoredBoardsVideoOrSaysWhyNot) {
  ASSERT_EQ(Store(QStringLiteral("lesson")), DialogResult::OK);
  WriteBmpFile(PatternBoard(2), UsersPath(QStringLiteral("picture.bmp")));
  const QString out = Path(QStringLiteral("out.webm"));
  const struct {
    QStringList arguments;
    int status;
    const char* said;
  } cases[] = {
      {{"--video", "lesson", out}, 0, ""},
      {{"--video", "nothing", out}, 1, "no stored board \"nothing\""},
      {{"--video", "picture", out}, 1, "\"picture\" has no story"},
      {{"--video", "lesson", Path("no folder/out.webm")}, 1, "cannot write"},
      {{"--video", "lesson"}, 2, "usage"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.said);
    QString said;
    QTextStream errors(&said);
    EXPECT_EQ(RunVideoCommand(QStringList{"slatewick"} + c.arguments, errors), c.status);
    EXPECT_TRUE(said.contains(QString::fromUtf8(c.said))) << said.toStdString();
    EXPECT_EQ(said.count(u'\n'), c.status ? 1 : 0);
  }

  const ReadBack video = Read(ReadBytes(out));
  ASSERT_TRUE(video.opened);
  // The last frame step at 3.6 s, less a pause of 3.01 s shortened to 2 s.
  EXPECT_EQ(video.frames, (3600 - 3010 + 2000) / 10 + 1);
  EXPECT_NEAR(video.seconds, video.frames / 100.0, 0.011);
  EXPECT_GT(Peak(video.samples, 0.0, 0.1), 0.01);  // the chalk's press
  EXPECT_LT(Peak(video.samples, 0.5, 2.3), 0.001);
  EXPECT_GT(Peak(video.samples, 2.35, 2.6), 0.01);  // the taps, after the shortened pause
  const QImage last = frm.WindowPicture();
  ASSERT_EQ(video.lastFrame.size(), last.size());
  const QRect stroke(96, 96, 150, 40);
  std::int64_t difference = 0;  // within VP9's loss
  for (int y = stroke.top(); y <= stroke.bottom(); ++y)
    for (int x = stroke.left(); x <= stroke.right(); ++x)
      difference += std::abs(qGray(video.lastFrame.pixel(x, y)) - qGray(last.pixel(x, y)));
  EXPECT_LT(double(difference) / (stroke.width() * stroke.height()), 6.0);

  QFile::remove(out);
  EXPECT_FALSE(WriteStoryVideo(frm.CurrentStory(), frm.Pictures(), frm.TapSoundImage(), out,
                               [](int done, int) { return done < 100; }));
  EXPECT_EQ(Entries(dir.path()).filter(QStringLiteral(".webm")), QStringList());
}

}  // namespace slatewick
