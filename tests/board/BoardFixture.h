#pragma once
// A started board without a window: the state that start-up leaves, a scripted generator, a
// pinned key state and a window stand-in that answers the board's questions.
#include <gtest/gtest.h>

#include <QImage>
#include <QSize>
#include <QStringList>
#include <array>
#include <cmath>
#include <deque>
#include <functional>
#include <initializer_list>
#include <numbers>
#include <vector>

#include "board/Board.h"
#include "platform/KeyState.h"
#include "platform/Random.h"
#include "support/ProcessSeams.h"

namespace slatewick {

// The window around the board: 800 x 480 unless resized; remembers whether it was closed and
// which captions its popup menu showed, and answers the menu with `choice`.
class FakeBoardHost : public BoardHost {
 public:
  QSize size{800, 480};
  bool closed = false;
  int menusShown = 0;
  QStringList menuCaptions;
  int choice = -1;

  QSize ClientSize() const override { return size; }
  void Close() override { closed = true; }
  int PopupMenu(const QStringList& captions) override {
    ++menusShown;
    menuCaptions = captions;
    return choice;
  }
};

// Replaces the generator for its lifetime. Scripted values are handed out in order (each must
// lie in 0..n-1); after them every draw yields fallback(n). The n of every draw is recorded.
class RandomScript {
 public:
  RandomScript() {
    SetRandomSource([this](int n) { return Draw(n); });
  }
  ~RandomScript() { SetRandomSource({}); }
  RandomScript(const RandomScript&) = delete;
  RandomScript& operator=(const RandomScript&) = delete;

  void Push(std::initializer_list<int> values) { values_.insert(values_.end(), values); }
  void Push(int value, int times) { values_.insert(values_.end(), std::size_t(times), value); }
  void Clear() {
    values_.clear();
    asked.clear();
  }
  bool Exhausted() const { return values_.empty(); }

  std::vector<int> asked;
  std::function<int(int)> fallback = [](int) { return 0; };

 private:
  int Draw(int n) {
    asked.push_back(n);
    if (values_.empty()) return fallback(n);
    const int v = values_.front();
    values_.pop_front();
    EXPECT_GE(v, 0) << "scripted draw " << asked.size();
    EXPECT_LT(v, n) << "scripted draw " << asked.size();
    return v;
  }
  std::deque<int> values_;
};

// Leaves st as start-up does with an 800 x 480 window: clean board, chalk table, tray slots,
// cosine table, an empty tap sound, default settings with no date, gate open.
inline void StartBoard(Board& frm) {
  BoardState& st = frm.st;
  st.Opt = Settings{};
  st.Opt.DateAtStart = false;
  frm.SetStartTables();
  if (st.SoundList.Count() == 0) st.SoundList.Add();
  st.BoardBitmap = QImage(800, 432, QImage::Format_RGB32);
  st.BoardBitmap.fill(ToQRgb(st.BoardColor));
  st.BoardReady = true;
}

// The parts one after the other: the draws a step asks for, in order.
inline std::vector<int> Concat(std::initializer_list<std::vector<int>> parts) {
  std::vector<int> all;
  for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

// Mouse input as the shell delivers it: the key state of the event first, then the handler.
inline void HoldButton(MouseButton b, bool down) {
  KeyState& k = CurrentKeys();
  (b == MouseButton::Left ? k.Left : b == MouseButton::Right ? k.Right : k.Middle) = down;
}
inline void PressButton(Board& frm, MouseButton b, int x, int y) {
  HoldButton(b, true);
  frm.Press(b, x, y);
}
inline void ReleaseButton(Board& frm, MouseButton b, int x, int y) {
  HoldButton(b, false);
  frm.Release(b, x, y);
}

class BoardTest : public ::testing::Test {
 protected:
  void SetUp() override {
    StartBoard(frm);
    frm.DXDraw.StopSurface();  // the frame steps here need no composition
  }

  BoardState& st() { return frm.st; }
  TColor Px(int x, int y) const { return FromQRgb(frm.st.BoardBitmap.pixel(x, y)); }
  bool BoardClean() const {
    QImage clean(frm.st.BoardBitmap.size(), QImage::Format_RGB32);
    clean.fill(ToQRgb(frm.st.BoardColor));
    return frm.st.BoardBitmap == clean;
  }
  void FillBoard(TColor c) { frm.st.BoardBitmap.fill(ToQRgb(c)); }
  // The ends of the laid chalk: A x, A y, B x, B y.
  std::array<int, 4> Ends() const {
    const TChalkBox& b = frm.st.ChalkBox;
    return {b.EndAX, b.EndAY, b.EndBX, b.EndBY};
  }
  // Enter lays the chalk down; each press of the right arrow then turns it by 5 degrees.
  void LayChalk(int turns = 0) {
    frm.KeyUp(VK_RETURN);
    for (int i = 0; i < turns; ++i) frm.KeyDown(VK_RIGHT, false);
  }

  void Press(MouseButton b, int x, int y) { PressButton(frm, b, x, y); }
  void Release(MouseButton b, int x, int y) { ReleaseButton(frm, b, x, y); }
  void Move(int x, int y) { frm.Move(x, y); }
  void Hold(MouseButton b, bool down) { HoldButton(b, down); }

  ProcessSeams seams;
  FakeBoardHost host;
  Board frm{&host};
  RandomScript random;
};

}  // namespace slatewick
