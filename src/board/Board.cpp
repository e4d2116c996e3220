#include "board/Board.h"

#include "platform/MessageBoxes.h"

namespace slatewick {

Board::Board(BoardHost* host) : host_(host) {
  for (int i = 0; i < MenuItemCount; ++i) menuCaptions.append(QString());
  menuCaptions[int(MenuItem::Separator1)] = QStringLiteral("-");
  menuCaptions[int(MenuItem::Separator2)] = QStringLiteral("-");

  Timer.Interval = 10;
  Timer.ActiveOnly = true;
  Timer.OnTimer = [this](int lagCount) { Tick(lagCount); };
  Timer.Still = [this] { return Still(); };
  Timer.SetEnabled(true);

  DXIL.Add(MakeLaidChalkSprite());
  DXDraw.StartSurface();
}

int Board::ClientWidth() const {
  return host_ ? host_->ClientSize().width() : TDXDraw::SurfaceWidth;
}

int Board::ClientHeight() const {
  return host_ ? host_->ClientSize().height() : TDXDraw::SurfaceHeight;
}

QImage Board::WindowPicture() {
  const QImage& shown = DXDraw.FrontBuffer().isNull() ? DXDraw.BackBuffer() : DXDraw.FrontBuffer();
  return shown.copy(0, 0, ClientWidth(), ClientHeight()).convertToFormat(QImage::Format_RGB32);
}

void Board::ApplyTexts(const LanguageFile& language) {
  SetApplicationTitle(language.Text(Texts::Name));
  Caption = ApplicationTitle();

  const QString separator = QStringLiteral("-");
  menuCaptions = QStringList{language.Text(Texts::MenuClearAll),
                             language.Text(Texts::MenuWriteDate),
                             separator,
                             language.Text(Texts::MenuLoad),
                             language.Text(Texts::MenuSave),
                             language.Text(Texts::MenuExport),
                             separator,
                             language.Text(Texts::MenuSettings),
                             language.Text(Texts::MenuAbout),
                             language.Text(Texts::MenuQuit)};

  st.ClearConfirmText = language.Text(Texts::ClearQuestion);
  exportFilter = ExportFilter(language.Text(Texts::FileTypeBmp), language.Text(Texts::FileTypeJpg));
}

}  // namespace slatewick
