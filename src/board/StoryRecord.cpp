// The board's story: what is recorded, where a story starts again, and a board that plays one.
#include <QPainter>

#include "board/Board.h"
#include "board/StoryPlayer.h"
#include "board/Tray.h"

namespace slatewick {

StoryState Board::CurrentState() const {
  return {hand_,     dust_.Particles(), env_.random.State(),
          settings_, ClientSize(),      slotsClientHeight_,
          env_.keys};
}

void Board::Record(StoryEvent event) {
  if (!recording_ || !story_) return;
  if (const std::int64_t keys = KeyBits(env_.keys); keys != recordedKeys_) {
    recordedKeys_ = keys;
    story_->Add({StoryStep::Keys, 0, 0, 0, keys});
  }
  if (const std::int64_t settings = SettingsBits(settings_); settings != recordedSettings_) {
    recordedSettings_ = settings;
    story_->Add({StoryStep::Settings, 0, 0, 0, settings});
  }
  if (const QSize client = ClientSize(); client != recordedClient_) {
    recordedClient_ = client;
    story_->Add({StoryStep::Resize, 0, client.width(), client.height(), 0});
  }
  if (event.step == StoryStep::Tick)
    event.value =
        std::int64_t(std::uint32_t(env_.clock.Milliseconds() - storyClock_)) + storyTimeOffset_;
  story_->Add(event);
}

void Board::RestartStory() {
  if (!recording_) return;
  story_.emplace(picture_, CurrentState());
  storyClock_ = env_.clock.Milliseconds();
  storyTimeOffset_ = 0;
  recordedKeys_ = KeyBits(env_.keys);
  recordedSettings_ = SettingsBits(settings_);
  recordedClient_ = ClientSize();
  storyMade_ = history_.StepsMade();
  storyUndo_ = storyRedo_ = 0;
}

void Board::ContinueStory(Story story) {
  if (!recording_) return;
  const std::int64_t end = story.Duration();
  RestartStory();
  story.Resume(CurrentState());
  story_ = std::move(story);
  storyTimeOffset_ = end + timer_.Interval;  // the next frame step after the story's last
}

QByteArray Board::EncodedStory() const {
  return story_ ? story_->Encode(picture_) : QByteArray();
}

void Board::CountStorySteps() {
  const std::uint64_t made = history_.StepsMade();
  if (made == storyMade_) return;
  storyUndo_ += int(made - storyMade_);
  storyRedo_ = 0;
  storyMade_ = made;
}

void Board::StartFrom(const Story& story, const BoardPictures& pictures, SoundClip tap) {
  recording_ = false;
  pictures_ = pictures;
  tapSound_ = tap;
  picture_ = story.Picture().copy();
  ApplyState(story.State(0));
  slotsClientHeight_ = story.State(0).slotsClientHeight;
  const TrayGeometry tray{ClientSize().width(), slotsClientHeight_,
                          slotsClientHeight_ - TrayHeight};
  for (int j = 0; j < 6; ++j) chalkSlots_[std::size_t(j)] = tray.ChalkSlot(j);
  ready_ = true;
}

void Board::ApplyState(const StoryState& state) {
  hand_ = state.hand;
  dust_.Replace(state.dust);
  env_.random.SetState(state.random);
  settings_ = state.settings;
  env_.keys = state.keys;
}

void Board::StartReplay() {
  if (!ready_ || !story_ || replay_) return;
  replayStory_ = std::make_unique<Story>(*story_);
  replay_ = std::make_unique<StoryPlayer>(*replayStory_, pictures_, env_.sound, tapSound_);
  replayStart_ = env_.clock.Milliseconds();
  ReplayStep();
}

void Board::StopReplay() {
  replay_.reset();
  replayStory_.reset();
  shownBack_ = 0;  // the window shows the replay's frame: the board's is composed whole again
  shownFrame_.reset();
  Compose();
}

void Board::ReplayStep() {
  const bool more = replay_->PlayUntil(std::uint32_t(env_.clock.Milliseconds() - replayStart_));
  Board& played = replay_->Played();
  played.Compose();
  if (surface_.SurfaceReady()) {
    // The played frame over the window's, where they overlap (a story may have been drawn in a
    // window of another size).
    QPainter(&surface_.BackBuffer()).drawImage(0, 0, played.Surface().FrontBuffer());
    surface_.PresentFrame();
  }
  if (!more) StopReplay();
}

}  // namespace slatewick
