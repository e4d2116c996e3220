#include "files/StoryVideo.h"

#include "board/StoryPlayer.h"
#include "platform/PictureFiles.h"
#include "platform/Sound.h"
#include "platform/WebmWriter.h"

namespace slatewick {

namespace {

// Where the played board's taps go: each one is handed to the video at the next frame.
class TapsForVideo final : public SoundOutput {
 public:
  SoundClip Prepare(const QByteArray&) override { return {0}; }
  void Play(SoundClip clip) override { tapped = !clip.Silent(); }
  void Stop() override {}
  bool tapped = false;
};

}  // namespace

struct StoryVideo::Parts {
  Parts(const Story& story, const BoardPictures& pictures, const QByteArray& tapWave)
      : tap(DecodeWave(tapWave)),
        player(story, pictures, taps, taps.Prepare(tapWave)),
        writer({story.State(0).client.width() & ~1, story.State(0).client.height() & ~1,
                1000 / FrameMilliseconds}) {}
  AudioClip tap;
  TapsForVideo taps;
  StoryPlayer player;
  WebmWriter writer;
};

StoryVideo::StoryVideo(const Story& story, const BoardPictures& pictures, const QByteArray& tapWave)
    : parts_(std::make_unique<Parts>(story, pictures, tapWave)),
      frameCount_(int(parts_->player.Duration() / FrameMilliseconds) + 1) {}

StoryVideo::~StoryVideo() = default;

bool StoryVideo::EncodeNext() {
  if (framesDone_ >= frameCount_) return false;
  Parts& p = *parts_;
  p.player.PlayUntil(std::int64_t(framesDone_) * FrameMilliseconds);
  if (std::exchange(p.taps.tapped, false) && !p.tap.samples.empty()) p.writer.PlaySound(p.tap);
  Board& board = p.player.Played();
  board.Compose();
  const QImage frame = board.WindowPicture();
  p.writer.AddFrame(frame.copy(0, 0, frame.width() & ~1, frame.height() & ~1));
  return ++framesDone_ < frameCount_;
}

QByteArray StoryVideo::Finish() {
  return parts_->writer.Finish();
}

bool WriteStoryVideo(const Story& story, const BoardPictures& pictures, const QByteArray& tapWave,
                     const QString& path, const std::function<bool(int, int)>& going) {
  StoryVideo video(story, pictures, tapWave);
  do {
    if (going && !going(video.FramesDone(), video.FrameCount())) return false;
  } while (video.EncodeNext());
  WriteFileAtomically(path, video.Finish());
  return true;
}

}  // namespace slatewick
