#include "board/Unit_Main.h"

#include "platform/MessageBoxes.h"

namespace slatewick {

TfrmMain::TfrmMain(BoardHost* host) : host_(host) {
  for (int i = 0; i < MenuItemCount; ++i) popCaptions.append(QString());
  popCaptions[int(MenuItem::Separator1)] = QStringLiteral("-");
  popCaptions[int(MenuItem::Separator2)] = QStringLiteral("-");

  Timer.Interval = 10;
  Timer.ActiveOnly = true;
  Timer.OnTimer = [this](int lagCount) { TimerTimer(lagCount); };
  Timer.Still = [this] { return Still(); };
  Timer.SetEnabled(true);

  DXIL.Add(MakeLaidChalkSprite());
  DXDraw.StartSurface();
}

int TfrmMain::ClientWidth() const {
  return host_ ? host_->ClientSize().width() : TDXDraw::SurfaceWidth;
}

int TfrmMain::ClientHeight() const {
  return host_ ? host_->ClientSize().height() : TDXDraw::SurfaceHeight;
}

QImage TfrmMain::WindowPicture() {
  const QImage& shown = DXDraw.FrontBuffer().isNull() ? DXDraw.BackBuffer() : DXDraw.FrontBuffer();
  return shown.copy(0, 0, ClientWidth(), ClientHeight()).convertToFormat(QImage::Format_RGB32);
}

void TfrmMain::ApplyTexts(const LanguageFile& language) {
  SetApplicationTitle(language.Text(Texts::Name));
  Caption = ApplicationTitle();

  const QString separator = QStringLiteral("-");
  popCaptions = QStringList{language.Text(Texts::MenuClearAll),
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
  dlgSaveFilter =
      ExportFilter(language.Text(Texts::FileTypeBmp), language.Text(Texts::FileTypeJpg));
}

}  // namespace slatewick
