#include <QFile>
#include <QFileInfo>
#include <QtEndian>
#include <cmath>
#include <numbers>

#include "board/Board.h"
#include "platform/AppError.h"
#include "platform/Canvas.h"
#include "platform/Clock.h"
#include "platform/MessageBoxes.h"
#include "platform/PictureFiles.h"
#include "platform/Places.h"
#include "platform/Random.h"
#include "platform/Sound.h"
#include "settings/SettingsFile.h"

namespace slatewick {

namespace {

// No picture of the program comes near this size on either side: a bitmap that declares more is
// refused before its pixels are allocated (a few bytes could otherwise ask for gigabytes).
constexpr QSize LargestPicture{4096, 4096};

// One of the six pictures, as RGB32, taken as it is: regions drawn from it that reach past it copy
// only what it has. A missing file, one that is not a whole BMP or one larger than any picture
// the program uses is a framework failure that names the file and says why.
QImage LoadPicture(const QString& name) {
  const QString path = Places::Picture(name);
  if (!QFileInfo(path).isFile())
    throw AppError(QStringLiteral("Cannot open file \"%1\". The file does not exist.").arg(path));
  return ReadBmpFile(path, {.most = LargestPicture});
}

// The tap sound as the player will read it: a RIFF image whose header claims more bytes than
// the file holds is cut to what it holds; anything too short to be one stays silent.
QByteArray TapSoundImage(QByteArray bytes) {
  if (bytes.size() < 12) return {};
  if (bytes.startsWith("RIFF")) {
    const auto claimed = qFromLittleEndian<quint32>(bytes.constData() + 4);
    if (claimed > quint32(bytes.size() - 8))
      qToLittleEndian<quint32>(quint32(bytes.size() - 8), bytes.data() + 4);
  }
  return bytes;
}

}  // namespace

void Board::SetStartTables() {
  st.BoardColor = RGB(0, 80, 0);
  st.ChalkSize = 6;

  const int H = ClientHeight();
  const TrayGeometry tray{ClientWidth(), H, H - TrayHeight};
  for (int j = 0; j < 6; ++j) st.ChalkSlots[std::size_t(j)] = tray.ChalkSlot(j);
  st.ChalkColors = {RGB(255, 255, 255), RGB(255, 252, 30), RGB(233, 135, 193),
                    RGB(130, 200, 230), RGB(180, 140, 75), RGB(85, 150, 85)};
  for (int i = 0; i < 256; ++i) st.CosineTable[i] = std::cos(2.0 * std::numbers::pi * i / 256.0);
}

void Board::Start() {
  st.Opt = ReadSettings();
  ApplyTexts(LanguageFile());
  Randomize(std::uint64_t(LocalNow().toMSecsSinceEpoch()) ^ timeGetTime());
  sndPlaySoundA(nullptr, SND_MEMORY | SND_ASYNC);
  SetStartTables();

  st.SoundList.Add();
  const QFileInfo tapSound(Places::TapSound());
  if (tapSound.isFile()) {
    // A file too large to play is not read at all: its taps are silent, as a broken one's.
    QFile wav(tapSound.filePath());
    if (tapSound.size() <= qint64(MaxSoundBytes) && wav.open(QIODevice::ReadOnly))
      st.SoundList[0] = TapSoundImage(wav.readAll());
  } else {
    ShowMessage(QStringLiteral("\"Start0.wav\"がありません"));
  }

  st.TrayBitmap = LoadPicture(QStringLiteral("Ukezara.bmp"));
  st.ChalkBitmap = LoadPicture(QStringLiteral("Chalk.bmp"));
  st.EraserBitmap = LoadPicture(QStringLiteral("Erase.bmp"));
  st.HeldChalkBitmap = LoadPicture(QStringLiteral("MotiChalk.bmp"));
  st.HandBitmap = LoadPicture(QStringLiteral("Hand.bmp"));
  st.GlyphBitmap = LoadPicture(QStringLiteral("Moji.bmp"));

  const int W = ClientWidth(), H = ClientHeight();
  st.BoardBitmap = NewBitmap(W, H - TrayHeight);
  Canvas board(st.BoardBitmap);
  board.brush.Color = st.BoardColor;
  board.Rectangle(0, 0, W, H);

  if (DXDraw.Host()) DXDraw.Host()->HideSystemCursor();
  if (st.Opt.DateAtStart) DrawDate();
  Compose();
  st.BoardReady = true;
}

void Board::AfterShown() {
  if (st.SoundList.Count() > 0)
    PrepareSound(st.SoundList.Memory(0), std::size_t(st.SoundList[0].size()));
  StartKeptBoard();
}

}  // namespace slatewick
