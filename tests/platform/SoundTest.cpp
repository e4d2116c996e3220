#include <gtest/gtest.h>

#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>
#include <cmath>
#include <vector>

#include "platform/Sound.h"

namespace {

// A RIFF WAVE image of a short 440 Hz tone, 16-bit mono.
QByteArray ToneWave(int milliseconds) {
  const int rate = 22050;
  const int samples = rate * milliseconds / 1000;
  QByteArray wav;
  const auto u32 = [&](std::uint32_t v) {
    for (int i = 0; i < 4; ++i) wav.append(char((v >> (8 * i)) & 0xFF));
  };
  const auto u16 = [&](std::uint16_t v) {
    wav.append(char(v & 0xFF));
    wav.append(char(v >> 8));
  };
  wav.append("RIFF");
  u32(36 + samples * 2);
  wav.append("WAVEfmt ");
  u32(16);
  u16(1);
  u16(1);
  u32(rate);
  u32(rate * 2);
  u16(2);
  u16(16);
  wav.append("data");
  u32(samples * 2);
  for (int i = 0; i < samples; ++i) u16(std::uint16_t(std::int16_t(8000 * std::sin(i * 0.125))));
  return wav;
}

}  // namespace

// The disk driver proves that a played image really reaches an output device.
TEST(Sound, PlaysAnInMemoryImageToTheDevice) {
  QTemporaryDir dir;
  const QString out = dir.filePath(QStringLiteral("out.raw"));
  qputenv("SDL_AUDIODRIVER", "disk");
  qputenv("SDL_DISKAUDIOFILE", out.toLocal8Bit());
  qputenv("SDL_DISKAUDIODELAY", "1");

  std::vector<unsigned> flags;
  SetSoundObserver([&](const void*, unsigned f) { flags.push_back(f); });
  const QByteArray tone = ToneWave(60);
  EXPECT_TRUE(sndPlaySoundA(nullptr, SND_MEMORY | SND_ASYNC));
  EXPECT_TRUE(sndPlaySoundA(tone.constData(), SND_MEMORY));  // waits until it has played
  EXPECT_EQ(flags, (std::vector<unsigned>{5, 4}));
  // The device's thread writes what it took from the queue a moment later.
  for (int i = 0; i < 300 && QFileInfo(out).size() == 0; ++i) QThread::msleep(10);
  EXPECT_GT(QFileInfo(out).size(), 0);

  // A new sound stops the old one: playing again at once is accepted without waiting.
  EXPECT_TRUE(sndPlaySoundA(tone.constData(), SND_MEMORY | SND_ASYNC));
  EXPECT_TRUE(sndPlaySoundA(tone.constData(), SND_MEMORY | SND_ASYNC));
  EXPECT_TRUE(sndPlaySoundA(nullptr, SND_MEMORY));
  SetSoundObserver(nullptr);
}

TEST(Sound, SomethingThatIsNotAWaveImageIsRefused) {
  const QByteArray junk(64, 'x');
  EXPECT_FALSE(sndPlaySoundA(junk.constData(), SND_MEMORY | SND_ASYNC));
  QByteArray notPcm = ToneWave(20);
  notPcm[20] = char(0x55);  // an unknown encoding tag
  EXPECT_FALSE(sndPlaySoundA(notPcm.constData(), SND_MEMORY | SND_ASYNC));
}
