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

// Each test starts with no output device, on the dummy driver; the environment is put back
// afterwards.
class SoundOutput : public ::testing::Test {
 protected:
  void SetUp() override {
    CloseSoundOutput();
    seams.SetEnv("SDL_AUDIODRIVER", "dummy");
  }
  void TearDown() override {
    SetSoundObserver(nullptr);
    CloseSoundOutput();
  }
  // The disk driver, writing what the device plays to a file of the test's own; its path.
  QString UseDiskDriver() {
    const QString out = dir.filePath(QStringLiteral("out.raw"));
    seams.SetEnv("SDL_AUDIODRIVER", "disk");
    seams.SetEnv("SDL_DISKAUDIOFILE", out.toLocal8Bit());
    seams.SetEnv("SDL_DISKAUDIODELAY", "1");
    return out;
  }

  ProcessSeams seams;
  QTemporaryDir dir;
};

}  // namespace

// The disk driver proves that a played image really reaches an output device.
TEST_F(SoundOutput, PlaysAnInMemoryImageToTheDevice) {
  const QString out = UseDiskDriver();

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
}

// A silent device plays nothing more: the disk driver's file stops growing once the sound ends.
TEST_F(SoundOutput, TheDeviceRestsWhileNothingPlays) {
  const QString out = UseDiskDriver();
  const QByteArray tone = ToneWave(60);
  for (int round = 0; round < 2; ++round) {  // and wakes again for the next sound
    const qint64 before = QFileInfo(out).size();
    ASSERT_TRUE(sndPlaySoundA(tone.constData(), SND_MEMORY | SND_ASYNC));
    qint64 last = -1;
    int steady = 0;
    for (int i = 0; i < 300 && steady < 10; ++i) {
      QCoreApplication::processEvents();
      QThread::msleep(20);
      const qint64 size = QFileInfo(out).size();
      steady = size == last && size > before ? steady + 1 : 0;
      last = size;
    }
    EXPECT_EQ(steady, 10) << "round " << round;
  }
}

TEST_F(SoundOutput, SomethingThatIsNotAWaveImageIsRefused) {
  const QByteArray junk(64, 'x');
  EXPECT_FALSE(sndPlaySoundA(junk.constData(), SND_MEMORY | SND_ASYNC));
  QByteArray notPcm = ToneWave(20);
  notPcm[20] = char(0x55);  // an unknown encoding tag
  EXPECT_FALSE(sndPlaySoundA(notPcm.constData(), SND_MEMORY | SND_ASYNC));
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
TEST_F(SoundOutput, WithoutADeviceEverySoundIsSilentAndStderrSaysSoOnce) {
  QTemporaryDir dir;
  const QString noDevices = dir.filePath(QStringLiteral("asound.conf"));
  QFile(noDevices).open(QIODevice::WriteOnly);  // an ALSA configuration without any device
  const struct {
    const char* driver;
    QString alsaConfig;
  } outputs[] = {{"alsa", noDevices}, {"no-such-driver", QString()}};
  const QByteArray tone = ToneWave(30);
  for (const auto& output : outputs) {
    CloseSoundOutput();
    seams.SetEnv("SDL_AUDIODRIVER", output.driver);
    seams.SetEnv("ALSA_CONFIG_PATH", output.alsaConfig.toLocal8Bit());
    ASSERT_TRUE(PrepareSound(tone.constData(), std::size_t(tone.size())));
    const QStringList first = StderrOf([&] { sndPlaySoundA(tone.constData(), 5); });
    const QStringList later = StderrOf([&] {
      for (int tap = 0; tap < 50; ++tap) {
        sndPlaySoundA(nullptr, SND_MEMORY);
        EXPECT_FALSE(sndPlaySoundA(tone.constData(), SND_MEMORY | SND_ASYNC));
      }
    });
    EXPECT_EQ(first.filter(QStringLiteral("No sound output")).size(), 1) << output.driver;
    EXPECT_TRUE(later.isEmpty()) << output.driver << ": " << later.join(u'\n').toStdString();
  }
}

// A prepared sound plays from its decoded samples: the image itself is not read again, let
// alone copied, however often it plays.
TEST_F(SoundOutput, APreparedSoundReplaysWithoutReadingItsImage) {
  const QByteArray tone = ToneWave(2000);
  const long page = sysconf(_SC_PAGESIZE);
  const std::size_t bytes = (std::size_t(tone.size()) / page + 2) * page;
  void* memory = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  ASSERT_NE(memory, MAP_FAILED);
  std::memcpy(memory, tone.constData(), std::size_t(tone.size()));
  ASSERT_TRUE(PrepareSound(memory, std::size_t(tone.size())));

  // Everything after the first page is out of reach from now on: touching it would crash.
  ASSERT_EQ(mprotect(static_cast<char*>(memory) + page, bytes - page, PROT_NONE), 0);
  for (int tap = 0; tap < 200; ++tap) {
    sndPlaySoundA(nullptr, SND_MEMORY);
    EXPECT_TRUE(sndPlaySoundA(memory, SND_MEMORY | SND_ASYNC));
  }
  ForgetSounds();
  munmap(memory, bytes);
}

// Starting the sound output leaves the process's signal handling as it was.
TEST_F(SoundOutput, TheOutputLeavesTheProcessSignalsAlone) {
  for (int signal : {SIGINT, SIGTERM}) std::signal(signal, SIG_DFL);
  const QByteArray tone = ToneWave(30);
  ASSERT_TRUE(sndPlaySoundA(tone.constData(), SND_MEMORY | SND_ASYNC));
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
TEST_F(SoundOutput, TheProcessEndsWithoutShuttingTheOutputDown) {
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    checkAudioAtExit = true;
    const QByteArray tone = ToneWave(30);
    sndPlaySoundA(tone.constData(), SND_MEMORY | SND_ASYNC);
    std::exit(SDL_WasInit(SDL_INIT_AUDIO) ? 0 : 2);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "1: the audio system was shut down at exit";
}

}  // namespace slatewick
