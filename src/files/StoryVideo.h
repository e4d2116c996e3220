#pragma once
#include <QByteArray>
#include <QString>
#include <functional>
#include <memory>

#include "board/Compose.h"
#include "board/Story.h"

namespace slatewick {

// A story as a WebM video: the window as the story's board showed it (board, tray, hand, dust;
// the story's client size, 800 x 480 as designed), one frame every FrameMilliseconds of played
// time (long pauses shortened as a replay shortens them), with the tap sound wherever the chalk
// tapped. The frame shown at time t is the board after every event played up to t; the video ends
// on the story's last frame step.
class StoryVideo {
 public:
  static constexpr int FrameMilliseconds = 10;  // the frame timer's interval: 100 frames a second

  // tapWave: the tap sound's RIFF WAVE image (silence when it is not one). Throws AppError when the
  // encoders cannot be opened.
  StoryVideo(const Story& story, const BoardPictures& pictures, const QByteArray& tapWave);
  ~StoryVideo();
  StoryVideo(const StoryVideo&) = delete;
  StoryVideo& operator=(const StoryVideo&) = delete;

  int FrameCount() const { return frameCount_; }
  int FramesDone() const { return framesDone_; }
  // Plays and encodes the next frame; false once every frame is in.
  bool EncodeNext();
  // The whole WebM file, after the last frame.
  QByteArray Finish();

 private:
  struct Parts;
  std::unique_ptr<Parts> parts_;
  int frameCount_ = 0;
  int framesDone_ = 0;
};

// Encodes the story's video and replaces path with it in one step (WriteFileAtomically).
// `going(done, total)` is asked before each frame: false stops the export, nothing is written and
// the result is false. Failures are AppErrors that name what failed; path is then untouched.
bool WriteStoryVideo(const Story& story, const BoardPictures& pictures, const QByteArray& tapWave,
                     const QString& path, const std::function<bool(int, int)>& going);

}  // namespace slatewick
