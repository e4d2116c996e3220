#include "board/Board.h"

#include "board/StoryPlayer.h"
#include "board/Tray.h"
#include "platform/MessageBoxes.h"

namespace slatewick {

Board::Board(Environment& env, BoardHost* host) : env_(env), host_(host), timer_(env.clock) {
  for (int i = 0; i < MenuItemCount; ++i) menuCaptions_.append(QString());
  menuCaptions_[int(MenuItem::Separator1)] = QStringLiteral("-");
  menuCaptions_[int(MenuItem::Separator2)] = QStringLiteral("-");

  timer_.Interval = 10;
  timer_.ActiveOnly = true;
  timer_.OnTick = [this](int) { Tick(); };  // each tick is one step, however late it comes
  timer_.Still = [this] { return Still(); };
  timer_.SetEnabled(true);

  surface_.StartSurface();
}

Board::~Board() = default;

QSize Board::ClientSize() const {
  return host_ ? host_->ClientSize()
               : QSize(FrameSurface::SurfaceWidth, FrameSurface::SurfaceHeight);
}

QImage Board::WindowPicture() {
  const QImage& shown =
      surface_.FrontBuffer().isNull() ? surface_.BackBuffer() : surface_.FrontBuffer();
  const QSize client = ClientSize();
  return shown.copy(0, 0, client.width(), client.height()).convertToFormat(QImage::Format_RGB32);
}

void Board::ApplyTexts(const LanguageFile& language) {
  const MainWindowTexts texts = ReadMainWindowTexts(language);
  SetApplicationTitle(texts.caption);
  caption_ = ApplicationTitle();
  menuCaptions_ = texts.menuCaptions;
  clearQuestion_ = texts.clearQuestion;
  exportFilter_ = texts.exportFilter;
}

ChalkTools Board::Tools() {
  return ChalkTools(picture_, hand_, dust_, settings_, env_.random, BoardColour,
                    [this] { return ClientSize(); });
}

}  // namespace slatewick
