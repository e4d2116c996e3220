#include <gtest/gtest.h>

#include <QDataStream>
#include <QFile>
#include <QPainter>
#include <QTemporaryDir>
#include <cmath>
#include <memory>
#include <vector>

#include "platform/AppError.h"
#include "platform/WebmWriter.h"
#include "support/WebmReadBack.h"

namespace slatewick {

namespace {

const QRgb BoardGreen = qRgb(0x1E, 0x4A, 0x32);

AudioClip Tone(double seconds, double hertz) {
  AudioClip clip;
  clip.samples.resize(std::size_t(seconds * AudioClip::SampleRate));
  for (std::size_t i = 0; i < clip.samples.size(); ++i)
    clip.samples[i] = float(0.5 * std::sin(2 * M_PI * hertz * double(i) / AudioClip::SampleRate));
  return clip;
}

// Frame `n` of a story: a light rectangle moving right over the board.
QImage StoryFrame(int width, int height, int n) {
  QImage frame(width, height, QImage::Format_RGB32);
  frame.fill(BoardGreen);
  QPainter painter(&frame);
  painter.fillRect(10 + 7 * n, height / 4, 30, 20, QColor(0xF0, 0xE8, 0xD0));
  painter.fillRect(0, height - 8, width, 8, QColor(0x5A, 0x3C, 0x28));
  return frame;
}

// 60 frames of 800 x 480 at 100 frames a second, a long tone played at frame 10 and a short
// one at frame 40, which cuts the first.
struct Story {
  QImage last;
  QByteArray file;
};

Story EncodeStory(bool lossless) {
  WebmWriter::Options options;
  options.lossless = lossless;
  WebmWriter writer(options);
  Story story;
  for (int n = 0; n < 60; ++n) {
    if (n == 10) writer.PlaySound(Tone(1.0, 440));
    if (n == 40) writer.PlaySound(Tone(0.05, 880));
    story.last = StoryFrame(options.width, options.height, n);
    writer.AddFrame(story.last);
  }
  EXPECT_EQ(writer.Frames(), 60);
  story.file = writer.Finish();
  return story;
}

TEST(WebmWriter, AStoryReadsBackWithItsFramesDurationTracksAndLastPicture) {
  const Story story = EncodeStory(true);
  const ReadBack video = Read(story.file);
  ASSERT_TRUE(video.opened);
  EXPECT_EQ(video.videoCodec, AV_CODEC_ID_VP9);
  EXPECT_EQ(video.audioCodec, AV_CODEC_ID_OPUS);
  EXPECT_EQ(video.frames, 60);
  EXPECT_NEAR(video.seconds, 0.6, 0.01);
  EXPECT_EQ(video.audioRate, 48000);
  EXPECT_NEAR(double(video.samples.size()) / 48000, 0.6, 0.02);  // one Opus frame
  ASSERT_EQ(video.lastFrame.size(), story.last.size());
  EXPECT_EQ(video.lastFrame, story.last);
}

TEST(WebmWriter, NormalPicturesLookLikeTheFramesAndSoundsStartAtTheirFrames) {
  const Story story = EncodeStory(false);
  const ReadBack video = Read(story.file);
  EXPECT_LT(Peak(video.samples, 0.0, 0.095), 0.01);    // before frame 10
  EXPECT_GT(Peak(video.samples, 0.100, 0.110), 0.25);  // frame 10: the long tone
  EXPECT_GT(Peak(video.samples, 0.400, 0.450), 0.25);  // frames 40-44: the short one
  EXPECT_LT(Peak(video.samples, 0.470, 0.600), 0.01);  // the long tone was cut
  ASSERT_EQ(video.lastFrame.size(), story.last.size());
  // The rectangle where it is now and not where it was: every changed part was encoded.
  const int y = story.last.height() / 4 + 10;
  EXPECT_GT(qGray(video.lastFrame.pixel(10 + 7 * 59 + 15, y)), 200);
  EXPECT_LT(std::abs(qGreen(video.lastFrame.pixel(25, y)) - qGreen(BoardGreen)), 8);
  double difference = 0;
  for (int y = 0; y < story.last.height(); ++y)
    for (int x = 0; x < story.last.width(); ++x) {
      const QRgb a = video.lastFrame.pixel(x, y), b = story.last.pixel(x, y);
      difference += std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
                    std::abs(qBlue(a) - qBlue(b));
    }
  EXPECT_LT(difference / (3.0 * story.last.width() * story.last.height()), 2.0);
}

// Sizes and rates whose tiles, audio frames and frame times do not divide evenly; no frames.
TEST(WebmWriter, EverySizeAndRateKeepsItsDurationAndPictures) {
  struct Case {
    int width, height, fps, frames;
  } const cases[] = {{64, 48, 30, 45}, {130, 34, 7, 10}, {2, 2, 100, 3}, {64, 48, 100, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(
        QStringLiteral("%1 x %2 at %3").arg(c.width).arg(c.height).arg(c.fps).toStdString());
    WebmWriter writer({c.width, c.height, c.fps, true});
    writer.PlaySound(Tone(100, 440));
    QImage last;
    for (int n = 0; n < c.frames; ++n) writer.AddFrame(last = StoryFrame(c.width, c.height, n));
    const ReadBack video = Read(writer.Finish());
    const double seconds = double(c.frames) / c.fps;
    EXPECT_EQ(video.frames, c.frames);
    EXPECT_NEAR(video.seconds, seconds, 1.0 / c.fps);
    EXPECT_NEAR(double(video.samples.size()) / 48000, seconds, 0.02);
    EXPECT_EQ(video.lastFrame, last);
  }
}

TEST(WebmWriter, RefusesOddSizesFramesOfAnotherSizeAndFramesAfterTheEnd) {
  EXPECT_THROW(WebmWriter({801, 480, 100, false}), AppError);
  EXPECT_THROW(WebmWriter({800, 480, 0, false}), AppError);
  WebmWriter writer({64, 48, 100, false});
  EXPECT_THROW(writer.AddFrame(QImage(800, 480, QImage::Format_RGB32)), AppError);
  QImage indexed(64, 48, QImage::Format_Indexed8);  // another format is converted
  indexed.setColor(0, BoardGreen);
  indexed.fill(0);
  writer.AddFrame(indexed);
  EXPECT_EQ(writer.Frames(), 1);
  EXPECT_TRUE(Read(writer.Finish()).opened);
  EXPECT_THROW(writer.AddFrame(StoryFrame(64, 48, 0)), AppError);
  EXPECT_THROW(writer.Finish(), AppError);
}

TEST(WebmWriter, AWriterDestroyedBeforeTheEndStopsItsThread) {
  for (int frames : {0, 1, 20}) {
    WebmWriter writer({64, 48, 100, false});
    writer.PlaySound(Tone(0.5, 440));
    for (int n = 0; n < frames; ++n) writer.AddFrame(StoryFrame(64, 48, n));
  }  // ends without a hang or a leak
}

// --- RIFF WAVE images ---

struct Wave {
  quint16 tag = 1, channels = 1;
  quint32 rate = 44100;
  quint16 bits = 16;
  QByteArray samples;
  bool extensible = false;
  qint64 blockAlign = -1;  // channels * bits / 8 unless told
  qint64 dataSize = -1;    // the bytes given unless told
};

QByteArray Image(const Wave& w) {
  QByteArray image;
  QDataStream out(&image, QIODevice::WriteOnly);
  out.setByteOrder(QDataStream::LittleEndian);
  const quint16 align =
      w.blockAlign >= 0 ? quint16(w.blockAlign) : quint16(w.channels * w.bits / 8);
  out.writeRawData("RIFF", 4);
  out << quint32(0);
  out.writeRawData("WAVE", 4);
  out.writeRawData("LIST", 4);  // an odd-sized chunk before fmt, padded to an even size
  out << quint32(3);
  out.writeRawData("abc\0", 4);
  out.writeRawData("fmt ", 4);
  out << quint32(w.extensible ? 40 : 16) << quint16(w.extensible ? 0xFFFE : w.tag) << w.channels
      << w.rate << quint32(w.rate * align) << align << w.bits;
  if (w.extensible) {
    out << quint16(22) << w.bits << quint32(0) << w.tag;
    out.writeRawData("\x00\x00\x00\x00\x10\x00\x80\x00\x00\xAA\x00\x38\x9B\x71", 14);
  }
  out.writeRawData("data", 4);
  out << quint32(w.dataSize >= 0 ? quint32(w.dataSize) : quint32(w.samples.size()));
  out.writeRawData(w.samples.constData(), int(w.samples.size()));
  return image;
}

QByteArray Repeated(int count, QByteArray sample) {
  QByteArray bytes;
  for (int i = 0; i < count; ++i) bytes += sample;
  return bytes;
}

TEST(DecodeWave, ValidImagesGiveTheirLengthAt48kHzAndTheirChannelsMixed) {
  struct Case {
    const char* name;
    Wave wave;
    std::size_t frames;
    float value;  // every sample, where the rate is 48 kHz already
  };
  const QByteArray half16("\x00\x40", 2), minusHalf16("\x00\xC0", 2);
  const QByteArray float1("\x00\x00\x80\x3F", 4), quarterFloat("\x00\x00\x80\x3E", 4);
  const Case cases[] = {
      {"16-bit mono 48 kHz", {1, 1, 48000, 16, Repeated(480, half16)}, 480, 0.5f},
      {"16-bit stereo cancels", {1, 2, 48000, 16, Repeated(480, half16 + minusHalf16)}, 480, 0},
      {"8-bit mono 22.05 kHz", {1, 1, 22050, 8, Repeated(2205, "\xC0")}, 2205, 0},
      {"24-bit 6 channels 96 kHz",
       {1, 6, 96000, 24, Repeated(960, Repeated(6, QByteArray("\x00\x00\xC0", 3)))},
       960,
       0},
      {"24-bit mono 48 kHz, negative",
       {1, 1, 48000, 24, Repeated(48, QByteArray("\x00\x00\xC0", 3))},
       48,
       -0.5f},
      {"32-bit integer mono 44.1 kHz", {1, 1, 44100, 32, Repeated(441, QByteArray(4, 0))}, 441, 0},
      {"float 8 channels 384 kHz",
       {3, 8, 384000, 32, Repeated(3840, Repeated(8, float1))},
       3840,
       0},
      {"float mono 48 kHz", {3, 1, 48000, 32, Repeated(96, quarterFloat)}, 96, 0.25f},
      {"extensible 16-bit stereo 48 kHz",
       {1, 2, 48000, 16, Repeated(100, half16 + half16), true},
       100,
       0.5f},
      {"1 Hz mono", {1, 1, 1, 16, Repeated(2, half16)}, 2, 0},
      {"data longer than the image: the whole frames present",
       {1, 1, 48000, 16, Repeated(100, half16) + "\x00", false, -1, 1000000},
       100,
       0.5f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const AudioClip clip = DecodeWave(Image(c.wave));
    const double expected = double(c.frames) * AudioClip::SampleRate / c.wave.rate;
    EXPECT_NEAR(double(clip.samples.size()), expected, 1.0);
    if (c.wave.rate == 48000 && !clip.samples.empty()) {
      EXPECT_FLOAT_EQ(clip.samples.front(), c.value);
      EXPECT_FLOAT_EQ(clip.samples.back(), c.value);
    }
  }
}

TEST(DecodeWave, BrokenOrUnsupportedImagesGiveAnEmptyClip) {
  const QByteArray sound = Repeated(100, QByteArray("\x00\x40", 2));
  const QByteArray valid = Image({1, 1, 44100, 16, sound});
  QByteArray hugeChunk = valid;  // the LIST chunk claims 4 GB: the fmt chunk is never reached
  hugeChunk.replace(16, 4, QByteArray("\xFF\xFF\xFF\xFF", 4));
  QByteArray noData = valid;
  noData.replace(valid.indexOf("data"), 4, "junk");
  const struct {
    const char* name;
    QByteArray image;
  } cases[] = {
      {"empty", {}},
      {"RIFF header only", valid.left(12)},
      {"cut inside the fmt chunk", valid.left(valid.indexOf("fmt ") + 20)},
      {"not WAVE", QByteArray(valid).replace(8, 4, "AVI ")},
      {"a chunk claiming 4 GB", hugeChunk},
      {"no data chunk", noData},
      {"zero channels", Image({1, 0, 44100, 16, sound})},
      {"nine channels", Image({1, 9, 44100, 16, Repeated(9, sound)})},
      {"0 Hz", Image({1, 1, 0, 16, sound})},
      {"over 384 kHz", Image({1, 1, 384001, 16, sound})},
      {"12-bit", Image({1, 1, 44100, 12, sound})},
      {"64-bit float", Image({3, 1, 44100, 64, sound})},
      {"ADPCM", Image({2, 1, 44100, 4, sound})},
      {"block size against the format", Image({1, 2, 44100, 16, sound, false, 2})},
      {"over a minute", Image({1, 1, 1, 8, Repeated(61, "\x80")})},
      {"over the size limit", Image({1, 1, 44100, 16, QByteArray(17 << 20, 0)})},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_TRUE(DecodeWave(c.image).samples.empty());
  }
  EXPECT_FALSE(DecodeWave(valid).samples.empty());
  for (qsizetype cut = 0; cut < valid.size(); ++cut) DecodeWave(valid.left(cut));  // no overread
}

TEST(DecodeWave, TheProgramsTapSoundDecodes) {
  QFile file(QStringLiteral(ASSET_DIR "/start0.wav"));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const AudioClip clip = DecodeWave(file.readAll());
  EXPECT_NEAR(double(clip.samples.size()), 3748 * 48000.0 / 44100, 1.0);
  EXPECT_GT(Peak(clip.samples, 0, 0.05), 0.1);
}

}  // namespace

}  // namespace slatewick
