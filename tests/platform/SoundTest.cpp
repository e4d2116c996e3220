#define SDL_MAIN_HANDLED
#include <SDL.h>
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDataStream>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <functional>
#include <vector>

#include "platform/Sound.h"
#include "support/ProcessSeams.h"

namespace slatewick {

namespace {

// A RIFF WAVE image of a short 440 Hz tone, 16-bit mono.
QByteArray ToneWave(int milliseconds) {
  const quint32 rate = 22050, samples = rate * quint32(milliseconds) / 1000;
  QByteArray wav;
  QDataStream out(&wav, QIODevice::WriteOnly);
  out.setByteOrder(QDataStream::LittleEndian);
  out.writeRawData("RIFF", 4);
  out << quint32(36 + samples * 2);
  out.writeRawData("WAVEfmt ", 8);
  out << quint32(16) << quint16(1) << quint16(1) << rate << rate * 2 << quint16(2) << quint16(16);
  out.writeRawData("data", 4);
  out << samples * 2;
  for (quint32 i = 0; i < samples; ++i) out << qint16(8000 * std::sin(i * 0.125));
  return wav;
}

// Each test has an output of its own on the dummy driver, closed afterwards; the environment is
// put back.
class SoundOutputTest : public ::testing::Test {
 protected:
  void SetUp() override { seams.SetEnv("SDL_AUDIODRIVER", "dummy"); }
  void TearDown() override { output.Close(); }
  // The disk driver, writing what the device plays to a file of the test's own; its path.
  QString UseDiskDriver() {
    const QString out = dir.filePath(QStringLiteral("out.raw"));
    seams.SetEnv("SDL_AUDIODRIVER", "disk");
    seams.SetEnv("SDL_DISKAUDIOFILE", out.toLocal8Bit());
    seams.SetEnv("SDL_DISKAUDIODELAY", "1");
    return out;
  }
  static QByteArray Bytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }

  ProcessSeams seams;
  QTemporaryDir dir;
  DeviceSoundOutput output;
};

// The tone's first samples, as the device plays them (it opens in the first sound's format).
QByteArray ToneStart() {
  return ToneWave(60).mid(44, 64);
}

}  // namespace

// The disk driver proves that a played sound really reaches an output device; a sound played
// after a rest is heard from its start, and nothing but silence is played between.
TEST_F(SoundOutputTest, PlaysAPreparedSoundFromItsStartAndSilenceBetweenSounds) {
  const QString out = UseDiskDriver();
  const SoundClip tone = output.Prepare(ToneWave(60));
  ASSERT_FALSE(tone.Silent());
  const auto played = [&](qsizetype from) { return Bytes(out).indexOf(ToneStart(), from); };
  const auto wait = [&](const std::function<bool()>& done) {
    for (int i = 0; i < 300 && !done(); ++i) {
      QCoreApplication::processEvents();
      QThread::msleep(10);
    }
  };

  output.Play(tone);
  wait([&] { return played(0) >= 0; });
  const qsizetype first = played(0);
  ASSERT_GE(first, 0);
  const qsizetype end = first + ToneWave(60).size() - 44;
  wait([&] { return Bytes(out).size() > end + 4096; });  // the device rests a while
  output.Play(tone);
  wait([&] { return played(end) >= 0; });
  const qsizetype second = played(end);
  ASSERT_GE(second, 0);
  const QByteArray between = Bytes(out).mid(end, second - end);
  EXPECT_EQ(between.count('\0'), between.size()) << "only silence between the two sounds";

  // A new sound stops the old one: playing again at once is accepted without waiting.
  output.Play(tone);
  output.Play(tone);
  output.Stop();
}

TEST_F(SoundOutputTest, SomethingThatIsNotAWaveImageIsSilence) {
  EXPECT_TRUE(output.Prepare(QByteArray(64, 'x')).Silent());
  QByteArray notPcm = ToneWave(20);
  notPcm[20] = char(0x55);  // an unknown encoding tag
  EXPECT_TRUE(output.Prepare(notPcm).Silent());
  EXPECT_TRUE(output.Prepare(QByteArray()).Silent());
}

namespace {

// What the code run by `body` writes to stderr, line by line.
QStringList StderrOf(const std::function<void()>& body) {
  QTemporaryDir dir;
  const QByteArray path = dir.filePath(QStringLiteral("stderr")).toLocal8Bit();
  std::fflush(stderr);
  const int saved = dup(2);
  std::FILE* file = std::fopen(path.constData(), "w");
  dup2(fileno(file), 2);
  body();
  std::fflush(stderr);
  dup2(saved, 2);
  close(saved);
  std::fclose(file);
  QFile written(QString::fromLocal8Bit(path));
  written.open(QIODevice::ReadOnly);
  return QString::fromLocal8Bit(written.readAll()).split(u'\n', Qt::SkipEmptyParts);
}

}  // namespace

// Without a usable device the first sound finds out, says so once, and nothing is tried again:
// the system's own complaints of that one attempt are not repeated either.
TEST_F(SoundOutputTest, WithoutADeviceEverySoundIsSilentAndStderrSaysSoOnce) {
  QTemporaryDir dir;
  const QString noDevices = dir.filePath(QStringLiteral("asound.conf"));
  QFile(noDevices).open(QIODevice::WriteOnly);  // an ALSA configuration without any device
  const struct {
    const char* driver;
    QString alsaConfig;
  } outputs[] = {{"alsa", noDevices}, {"no-such-driver", QString()}};
  const QByteArray tone = ToneWave(30);
  for (const auto& device : outputs) {
    output.Close();
    seams.SetEnv("SDL_AUDIODRIVER", device.driver);
    seams.SetEnv("ALSA_CONFIG_PATH", device.alsaConfig.toLocal8Bit());
    const SoundClip clip = output.Prepare(tone);
    ASSERT_FALSE(clip.Silent());
    const QStringList first = StderrOf([&] { output.Play(clip); });
    const QStringList later = StderrOf([&] {
      for (int tap = 0; tap < 50; ++tap) output.Play(clip);
    });
    EXPECT_EQ(first.filter(QStringLiteral("No sound output")).size(), 1) << device.driver;
    EXPECT_TRUE(later.isEmpty()) << device.driver << ": " << later.join(u'\n').toStdString();
  }
}

// Starting the sound output leaves the process's signal handling as it was.
TEST_F(SoundOutputTest, TheOutputLeavesTheProcessSignalsAlone) {
  for (int signal : {SIGINT, SIGTERM}) std::signal(signal, SIG_DFL);
  output.Play(output.Prepare(ToneWave(30)));
  for (int signal : {SIGINT, SIGTERM}) {
    struct sigaction action {};
    sigaction(signal, nullptr, &action);
    EXPECT_EQ(action.sa_handler, SIG_DFL) << "signal " << signal;
  }
}

namespace {

bool checkAudioAtExit = false;

// Runs after every exit handler and static destructor of the process (child below only).
__attribute__((destructor)) void AudioStillRunningAtExit() {
  if (checkAudioAtExit) _exit(SDL_WasInit(SDL_INIT_AUDIO) ? 0 : 1);
}

}  // namespace

// The end of the process does not shut the audio system down: that would wait for the device to
// drain and for the system's device search to finish. The process's end releases the device.
TEST_F(SoundOutputTest, TheProcessEndsWithoutShuttingTheOutputDown) {
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    checkAudioAtExit = true;
    output.Play(output.Prepare(ToneWave(30)));
    std::exit(SDL_WasInit(SDL_INIT_AUDIO) ? 0 : 2);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "1: the audio system was shut down at exit";
}

}  // namespace slatewick
