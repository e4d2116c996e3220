#pragma once
#include <QByteArray>
#include <QImage>
#include <memory>
#include <vector>

namespace slatewick {

// A sound as the video's audio track takes it: mono samples at SampleRate a second, each in
// -1..1.
struct AudioClip {
  static constexpr int SampleRate = 48000;
  std::vector<float> samples;
};

// The longest sound DecodeWave accepts, in seconds (a tap lasts a fraction of one).
constexpr int MaxClipSeconds = 60;

// A RIFF WAVE image (integer PCM of 8, 16, 24 or 32 bits or 32-bit float, 1 to 8 channels, 1 Hz
// to 384 kHz, plain or WAVE_FORMAT_EXTENSIBLE) as a clip: its channels averaged to one, resampled
// to 48 kHz. A data chunk longer than the image holds gives the whole sample frames it does hold.
// Anything else (not RIFF WAVE, a format or size outside those, no fmt or data chunk, an image
// over MaxSoundBytes or a sound over MaxClipSeconds) gives an empty clip. The image is
// untrusted: no read goes past its end, and no size it claims is allocated before it is checked.
AudioClip DecodeWave(const QByteArray& image);

// Encodes a video into memory as a WebM file: VP9 (libvpx) pictures at a constant frame rate,
// and an Opus (libopus) track, 48 kHz mono at 64 kb/s, of the clips played, silent elsewhere and
// as long as the pictures. The caller's thread converts each frame and mixes its sound; a thread
// of the writer's own encodes them beside it and writes the packets as they come, so memory holds
// a few pictures, the file so far and a few packets: a mostly still ten-minute board is about
// 4 MB. No file is written: the caller stores Finish's bytes in one step (see ReplaceFile), and a
// writer destroyed before Finish stops its thread and leaves nothing behind. A failure of FFmpeg
// is an AppError, thrown by the call that finds it (for the encoding thread, the next AddFrame or
// Finish).
//
// Normal pictures are 4:2:0 YUV (BT.601, limited range), encoded as a live stream would be:
// libvpx's realtime deadline at its fastest speed (8) without look-ahead, on the encoding thread
// alone (at this size libvpx's own threads cost more in handing over rows than they win), tuned
// for screen content (flat colour and sharp chalk edges: a third smaller than the default tuning
// for about 5 % more time) at constant quality 32 without a bit-rate target, which keeps the
// texture of chalk readable. A key frame every 10 seconds. Only the 64 x 16 tiles that changed
// since the frame before are converted from RGB (libswscale). On a 2-core machine a 10-second
// story of 800 x 480 at 100 frames a second encodes at 420-560 frames a second, 4.2-5.6 times
// real time, taking 2.1-2.4 ms of processor time a frame on the two threads (bench/VideoBench.cpp;
// 180-290 frames a second while other programs kept both cores busy).
// Lossless pictures are planar RGB (VP9 profile 1, lossless): every decoded pixel equals the
// frame given. They are for tests and are slower and far larger.
class WebmWriter {
 public:
  struct Options {
    int width = 800;  // pixels; both sides even
    int height = 480;
    int framesPerSecond = 100;
    bool lossless = false;
  };

  // Throws AppError when an encoder or the muxer cannot be opened (also for odd sizes).
  explicit WebmWriter(const Options& options);
  ~WebmWriter();
  WebmWriter(const WebmWriter&) = delete;
  WebmWriter& operator=(const WebmWriter&) = delete;

  // The next frame, shown for 1 / framesPerSecond seconds. Of width x height pixels (an
  // AppError otherwise); any format, RGB32 being the one taken without a conversion.
  void AddFrame(const QImage& frame);
  // From the start of the next frame added the clip plays from its beginning (it is copied).
  // A clip still playing stops there: a new tap cuts the old one, as the live sound output does.
  void PlaySound(const AudioClip& clip);
  // The frames added so far.
  int Frames() const;
  // Flushes both encoders and writes the file's index; the whole WebM file. Called once, last:
  // afterwards the writer takes no more frames (an AppError).
  QByteArray Finish();

 private:
  struct Encoder;
  std::unique_ptr<Encoder> encoder_;
};

}  // namespace slatewick
