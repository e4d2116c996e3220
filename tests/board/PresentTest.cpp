#include <gtest/gtest.h>

#include <QPainter>
#include <functional>
#include <vector>

#include "board/BoardFixture.h"
#include "platform/Canvas.h"

namespace slatewick {

namespace {

// A window that paints only what it is sent, as the real one repaints only the sent rectangles.
class MirrorWindow : public SurfaceHost {
 public:
  QImage shown;
  int rectsSent = 0;

  void ShowFrame(const QImage& frame) override { shown = frame.copy(); }
  void ShowFrameRects(const QImage& frame, const std::vector<QRect>& changed) override {
    QPainter p(&shown);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    for (const QRect& r : changed) p.drawImage(r.topLeft(), frame, r);
    rectsSent += int(changed.size());
  }
  void SetFullScreen(bool) override {}
  void SetSizeableBorder(bool) override {}
  void HideSystemCursor() override {}
  void SetSurfaceSize(int, int) override {}
  QByteArray WindowPlacement() const override { return {}; }
  void SetWindowPlacement(const QByteArray&) override {}
};

class Present : public StartedBoardTest {
 protected:
  // One frame step; counts the frames after which the window differs from the whole frame.
  void Tick() {
    frm.Tick();
    const QImage whole = frm.WholeFrame();
    if (frm.Surface().FrontBuffer() != whole || window.shown != whole) ++framesWrong;
  }
  // A click at (x, y) that drops five particles of dust.
  void DropDust(int x, int y) {
    {
      RandomScript dust(test.env.random);
      dust.Push({0, 1});
      Press(MouseButton::Left, x, y);
    }
    Release(MouseButton::Left, x, y);
  }
  // A drag of `steps` moves by (dx, dy) each, one frame after each move.
  void Drag(int x, int y, int dx, int dy, int steps) {
    for (int i = 1; i <= steps; ++i) {
      frm.Move(x + i * dx, y + i * dy);
      Tick();
    }
  }

  MirrorWindow window;
  int framesWrong = 0;
};

}  // namespace

// After every frame of a session, what the window shows equals the frame composed whole.
TEST_F(Present, PartialFramesLeaveTheWindowEqualToTheWholeFrame) {
  frm.Surface().SetHost(&window);
  frm.Surface().StartSurface();  // the next frame is sent whole
  settings().ShowDust = true;
  const std::vector<std::pair<const char*, std::function<void()>>> steps{
      {"hover over the board", [&] { Drag(100, 100, 7, 3, 6); }},
      {"hover over the tray", [&] { Drag(60, 420, 9, 4, 8); }},
      {"stroke",
       [&] {
         Press(MouseButton::Left, 200, 150);
         Drag(200, 150, 4, 2, 30);
         Release(MouseButton::Left, 320, 210);
       }},
      {"dust falling",
       [&] {
         for (int i = 0; i < 8; ++i) DropDust(400, 300);
         for (int i = 0; i < 25; ++i) Tick();
       }},
      {"chalk picked from the tray",
       [&] {
         Press(MouseButton::Left, 40 + 84 * 3, 455);
         Release(MouseButton::Left, 40 + 84 * 3, 455);
         Drag(290, 455, -5, -20, 6);
       }},
      {"wiping with the finger",
       [&] {
         Press(MouseButton::Right, 300, 200);
         Drag(300, 200, -6, 3, 10);
         Release(MouseButton::Right, 240, 230);
       }},
      {"laid chalk",
       [&] {
         frm.KeyUp(Key::Enter);
         frm.KeyDown(Key::RightArrow, false);
         Press(MouseButton::Left, 500, 100);
         Drag(500, 100, 3, 5, 10);
         Release(MouseButton::Left, 530, 150);
         frm.KeyUp(Key::Enter);
       }},
      {"debug overlay",
       [&] {
         settings().ShowDebug = true;
         Drag(150, 120, 5, 5, 5);
         settings().ShowDebug = false;
         Drag(175, 145, -5, 1, 3);
       }},
      {"shift",
       [&] {
         keys.Shift = true;
         Drag(600, 440, 4, 1, 3);
         keys.Shift = false;
         Drag(612, 443, 4, 1, 3);
       }},
      {"eraser",
       [&] {
         Press(MouseButton::Left, 560, 440);
         Release(MouseButton::Left, 560, 440);
         Press(MouseButton::Left, 300, 200);
         Drag(300, 200, 8, 1, 8);
         Release(MouseButton::Left, 364, 208);
       }},
      {"undo",
       [&] {
         frm.Undo();
         Tick();
       }},
      {"board drawn on untold, dust falling, the pointer moving",
       [&] {
         for (int i = 0; i < 6; ++i) DropDust(200, 100);
         for (int i = 0; i < 4; ++i) {
           Canvas c(frm.BoardPicture());
           c.brush.Color = Rgb(40 * i, 200, 90);
           c.FillRect({90 * i, 20 * i, 90 * i + 300, 20 * i + 420});
           Drag(380 + 20 * i, 120, 6, 5, 3);
         }
       }},
  };
  for (const auto& [what, act] : steps) {
    act();
    EXPECT_EQ(framesWrong, 0) << what;
    framesWrong = 0;
  }
  EXPECT_GT(window.rectsSent, 0) << "frames went out in parts";
}

}  // namespace slatewick
