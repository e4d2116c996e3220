#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include "board/Board.h"
#include "board/Date.h"
#include "board/Tray.h"
#include "platform/AppError.h"
#include "platform/Canvas.h"
#include "platform/MessageBoxes.h"
#include "platform/PictureFiles.h"
#include "platform/Places.h"
#include "settings/SettingsFile.h"

namespace slatewick {

namespace {

// No picture of the program comes near this size on either side: a bitmap that declares more is
// refused before its pixels are allocated (a few bytes could otherwise ask for gigabytes).
constexpr QSize LargestPicture{4096, 4096};

// One of the six pictures, as RGB32, taken as it is: regions drawn from it that reach past it copy
// only what it has. A missing file, one that is not a whole BMP or one larger than any picture
// the program uses is a framework failure that names the file and says why.
QImage ReadStartPicture(const QString& name) {
  const QString path = Places::Picture(name);
  if (!QFileInfo(path).isFile())
    throw AppError(QStringLiteral("Cannot open file \"%1\". The file does not exist.").arg(path));
  return ReadBmpFile(path, {.most = LargestPicture});
}

// The tap sound as the player will read it: a RIFF image whose header claims more bytes than
// the file holds is cut to what it holds; anything too short to be one stays silent.
QByteArray PlayableWave(QByteArray bytes) {
  if (bytes.size() < 12) return {};
  if (bytes.startsWith("RIFF")) {
    const auto claimed = qFromLittleEndian<quint32>(bytes.constData() + 4);
    if (claimed > quint32(bytes.size() - 8))
      qToLittleEndian<quint32>(quint32(bytes.size() - 8), bytes.data() + 4);
  }
  return bytes;
}

}  // namespace

void Board::Start() {
  settings_ = ReadSettings();
  ApplyTexts(LanguageFile());
  env_.random.Seed(std::uint64_t(env_.clock.LocalNow().toMSecsSinceEpoch()) ^
                   env_.clock.Milliseconds());
  env_.sound.Stop();

  const QSize client = ClientSize();
  slotsClientHeight_ = client.height();
  const TrayGeometry tray{client.width(), client.height(), client.height() - TrayHeight};
  for (int j = 0; j < 6; ++j) chalkSlots_[std::size_t(j)] = tray.ChalkSlot(j);

  const QFileInfo tapSound(Places::TapSound());
  if (tapSound.isFile()) {
    // A file too large to play is not read at all: its taps are silent, as a broken one's.
    QFile wav(tapSound.filePath());
    if (tapSound.size() <= qint64(MaxSoundBytes) && wav.open(QIODevice::ReadOnly))
      tapSoundImage_ = PlayableWave(wav.readAll());
  } else {
    ShowMessage(QStringLiteral("\"Start0.wav\"がありません"));
  }

  pictures_.tray = ReadStartPicture(QStringLiteral("Ukezara.bmp"));
  pictures_.chalks = ReadStartPicture(QStringLiteral("Chalk.bmp"));
  pictures_.eraser = ReadStartPicture(QStringLiteral("Erase.bmp"));
  pictures_.heldChalks = ReadStartPicture(QStringLiteral("MotiChalk.bmp"));
  pictures_.hand = ReadStartPicture(QStringLiteral("Hand.bmp"));
  pictures_.glyphs = ReadStartPicture(QStringLiteral("Moji.bmp"));

  picture_ = NewBitmap(client.width(), client.height() - TrayHeight);
  Canvas board(picture_);
  board.brush.Color = BoardColour;
  board.Rectangle(0, 0, client.width(), client.height());

  if (surface_.Host()) surface_.Host()->HideSystemCursor();
  if (settings_.DateAtStart)
    DrawDate(picture_, pictures_.glyphs, env_.clock.LocalNow().date(), client.width());
  Compose();
  ready_ = true;
  RestartStory();
}

void Board::AfterShown() {
  tapSound_ = env_.sound.Prepare(tapSoundImage_);
  StartKeptBoard();
}

}  // namespace slatewick
