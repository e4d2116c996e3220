#pragma once
#include <QDateTime>
#include <QSize>
#include <cstdint>
#include <vector>

#include "board/Board.h"
#include "board/Story.h"

namespace slatewick {

// Plays a story on a board of its own: the board starts from the story's picture and state, and
// takes the story's events in their order through its own handlers, so that it draws what the
// recorded board drew. Its random draws, key state and dates are the story's; its taps go to the
// given sound output. The story and the pictures must outlive the player.
class StoryPlayer {
 public:
  // Pauses longer than this in which nothing moved are shortened to it, in milliseconds.
  static constexpr std::int64_t LongestPause = 2000;

  StoryPlayer(const Story& story, const BoardPictures& pictures, SoundOutput& sound, SoundClip tap);

  // Applies the events up to the last frame step due at `ms` milliseconds of the played time
  // (the story's, its long pauses shortened). True while events remain.
  bool PlayUntil(std::int64_t ms);
  // The played time of the story's last frame step.
  std::int64_t Duration() const { return duration_; }
  bool Ended() const { return next_ >= story_.Events().size(); }
  Board& Played() { return board_; }

 private:
  // A window of the story's client size that shows no menu.
  class Host : public BoardHost {
   public:
    QSize size;
    QSize ClientSize() const override { return size; }
    void Close() override {}
    int PopupMenu(const QStringList&) override { return -1; }
  };
  // The day a date was written.
  class DateClock : public Clock {
   public:
    QDateTime now;
    std::uint32_t Milliseconds() const override { return 0; }
    QDateTime LocalNow() const override { return now; }
  };
  void Apply(const StoryEvent& event);

  const Story& story_;
  Host host_;
  DateClock clock_;
  Environment env_;
  Board board_;
  std::vector<std::int64_t> playedTime_;  // of each event: its frame step's
  std::int64_t duration_ = 0;
  std::size_t next_ = 0;
};

}  // namespace slatewick
