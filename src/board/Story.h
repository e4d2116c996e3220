#pragma once
#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

#include "board/Dust.h"
#include "board/Hand.h"
#include "platform/KeyState.h"
#include "settings/Settings.h"

namespace slatewick {

// What a board's frame steps read besides its picture and the events that reach it: taken where a
// story begins, and where a board continues a stored story.
struct StoryState {
  Hand hand;
  std::vector<DustParticle> dust;
  std::uint64_t random = 0;  // the generator's state
  Settings settings;
  QSize client{800, 480};
  int slotsClientHeight = 480;  // the client height the tray's chalk slots were laid out for
  KeyState keys;
  bool operator==(const StoryState&) const = default;
};

// One thing the board acted on, in the order it came.
enum class StoryStep : std::uint8_t {
  Tick,              // a frame step; value: milliseconds since the story began
  Press,             // flag: the MouseButton; x, y
  Move,              // x, y
  Release,           // flag: the MouseButton; x, y
  WheelTowardsUser,  // a wheel notch
  WheelAwayFromUser,
  KeyDown,  // flag: the Key; x: 1 with Alt held
  KeyUp,    // flag: the Key
  Keys,     // value: the key state from now on (KeyBits)
  Undo,
  Redo,
  WriteDate,  // value: the date written, as a Julian day
  Settings,   // value: the settings from now on (SettingsBits)
  Resize,     // x, y: the client area from now on
  Resume,     // value: the index of the state the board goes on from (a load continued the story)
};
constexpr int StorySteps = int(StoryStep::Resume) + 1;

struct StoryEvent {
  StoryStep step = StoryStep::Tick;
  std::uint8_t flag = 0;
  std::int32_t x = 0, y = 0;
  std::int64_t value = 0;
  bool operator==(const StoryEvent&) const = default;
};

std::int64_t KeyBits(const KeyState& keys);
KeyState KeysOf(std::int64_t bits);
std::int64_t SettingsBits(const Settings& settings);
Settings SettingsOf(std::int64_t bits);

struct StoryRead;

// A board's story: the picture and the state it began from, then every event the board acted on,
// each frame step with its time. The same events given to a board started from the beginning
// draw the same pixels (StoryPlayer).
class Story {
 public:
  Story(QImage picture, StoryState start);

  const QImage& Picture() const { return picture_; }
  // State 0 is where the story begins; later ones are where it resumed.
  const StoryState& State(int index) const { return states_[std::size_t(index)]; }
  int StateCount() const { return int(states_.size()); }
  const std::vector<StoryEvent>& Events() const { return events_; }
  // The time of the last frame step, in milliseconds since the story began.
  std::int64_t Duration() const { return duration_; }

  void Add(const StoryEvent& event);
  // The board goes on from `state` (picture unchanged) at `time` milliseconds.
  void Resume(StoryState state);

  // The story's file, with a hash of the picture the story ends on, so that a picture changed
  // elsewhere is told from its own: a header ("SLWKSTRY", version) and the rest packed (zstd).
  QByteArray Encode(const QImage& endPicture) const;
  // Bytes that nobody vouches for: anything that is not a whole, consistent story within the
  // limits below is refused with the reason, before more is allocated than the file declares and
  // the limits allow.
  static StoryRead Decode(QByteArrayView bytes);
  // The hash that Encode keeps of a picture: its colours as RGB32, the unused byte left out.
  static QByteArray PictureHash(const QImage& picture);

  // The limits of a story read from a file.
  static constexpr int MaxSide = 4096;                                  // picture pixels a side
  static constexpr std::int64_t MaxUnpacked = std::int64_t(256) << 20;  // bytes
  static constexpr std::int64_t MaxEvents = 20'000'000;
  static constexpr std::int64_t MaxDust = 2'000'000;  // particles in all states together
  static constexpr int MaxStates = 100'000;

 private:
  QImage picture_;
  std::vector<StoryState> states_;
  std::vector<StoryEvent> events_;
  std::int64_t duration_ = 0;
};

// A story read from a file, or why it was refused.
struct StoryRead {
  std::optional<Story> story;
  QByteArray endHash;  // as Encode wrote it
  QString refusal;     // why the bytes are not a story, as a sentence; empty for a story
};

}  // namespace slatewick
