#include "board/StoryPlayer.h"

#include <algorithm>

namespace slatewick {

StoryPlayer::StoryPlayer(const Story& story, const BoardPictures& pictures, SoundOutput& sound,
                         SoundClip tap)
    : story_(story), env_(clock_, sound), board_(env_, &host_) {
  host_.size = story.State(0).client;
  board_.StartFrom(story, pictures, tap);
  // Each event plays at the time of the frame step it came before (or the last one, at the end);
  // time runs as recorded, but never more than LongestPause between two frame steps.
  const std::vector<StoryEvent>& events = story.Events();
  playedTime_.resize(events.size());
  std::int64_t recorded = 0, played = 0;
  for (std::size_t i = 0; i < events.size(); ++i) {
    if (events[i].step != StoryStep::Tick) continue;
    played += std::clamp<std::int64_t>(events[i].value - recorded, 0, LongestPause);
    recorded = events[i].value;
    playedTime_[i] = played;
  }
  duration_ = played;
  for (std::size_t i = events.size(); i-- > 0;)
    if (events[i].step != StoryStep::Tick)
      playedTime_[i] = i + 1 < events.size() ? playedTime_[i + 1] : played;
}

bool StoryPlayer::PlayUntil(std::int64_t ms) {
  const std::vector<StoryEvent>& events = story_.Events();
  while (next_ < events.size() && playedTime_[next_] <= ms) Apply(events[next_++]);
  return !Ended();
}

void StoryPlayer::Apply(const StoryEvent& e) {
  const auto button = MouseButton(e.flag);
  switch (e.step) {
    case StoryStep::Tick:
      board_.Tick();
      return;
    case StoryStep::Press:
      board_.Press(button, e.x, e.y);
      return;
    case StoryStep::Move:
      board_.Move(e.x, e.y);
      return;
    case StoryStep::Release:
      board_.Release(button, e.x, e.y);
      return;
    case StoryStep::WheelTowardsUser:
      board_.WheelTowardsUser();
      return;
    case StoryStep::WheelAwayFromUser:
      board_.WheelAwayFromUser();
      return;
    case StoryStep::KeyDown:
      board_.KeyDown(Key(e.flag), e.x != 0);
      return;
    case StoryStep::KeyUp:
      board_.KeyUp(Key(e.flag));
      return;
    case StoryStep::Keys:
      env_.keys = KeysOf(e.value);
      return;
    case StoryStep::Undo:
      board_.Undo();
      return;
    case StoryStep::Redo:
      board_.Redo();
      return;
    case StoryStep::WriteDate:
      clock_.now = QDateTime(QDate::fromJulianDay(e.value), QTime(12, 0));
      board_.WriteDate();
      return;
    case StoryStep::Settings:
      board_.SettingsInUse() = SettingsOf(e.value);
      return;
    case StoryStep::Resize:
      host_.size = QSize(e.x, e.y);
      return;
    case StoryStep::Resume:
      board_.ApplyState(story_.State(int(e.value)));
      host_.size = story_.State(int(e.value)).client;
      return;
  }
}

}  // namespace slatewick
