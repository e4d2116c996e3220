#include "board/Unit_Main.h"

TfrmMain::TfrmMain(BoardHost* host) : host_(host) {
  for (int i = 0; i < MenuItemCount; ++i) popCaptions.append(QString());
  popCaptions[int(MenuItem::Separator1)] = QStringLiteral("-");
  popCaptions[int(MenuItem::Separator2)] = QStringLiteral("-");

  Timer.Interval = 10;
  Timer.ActiveOnly = true;
  Timer.OnTimer = [this](int lagCount) { TimerTimer(lagCount); };
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
