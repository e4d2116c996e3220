#pragma once
#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "board/BoardAccess.h"
#include "board/BoardHistory.h"
#include "board/ChalkTools.h"
#include "board/Compose.h"
#include "board/Dust.h"
#include "board/FrameTiles.h"
#include "board/Hand.h"
#include "board/KeptBoard.h"
#include "board/Story.h"
#include "platform/Colour.h"
#include "platform/Environment.h"
#include "platform/FrameSurface.h"
#include "platform/FrameTimer.h"
#include "platform/Rect.h"
#include "platform/Sprite.h"
#include "settings/Language.h"
#include "settings/MainWindowTexts.h"
#include "settings/Settings.h"

namespace slatewick {

class StoryPlayer;

enum class MouseButton { Left, Right, Middle };

// The keys the board handles.
enum class Key { Enter, Escape, LeftArrow, RightArrow };

// The menu commands that open a dialog; the program wires them to the dialog windows.
struct BoardCommands {
  std::function<void()> load, store, exportPicture, video, settings, about, screenShot;
};

// What the board needs of the window around it (the shell implements it; tests script it).
class BoardHost {
 public:
  virtual ~BoardHost() = default;
  virtual QSize ClientSize() const = 0;
  virtual void Close() = 0;
  // Shows the popup menu at the mouse cursor until it closes; the chosen item or -1.
  virtual int PopupMenu(const QStringList& captions) = 0;
};

// The blackboard: a board picture drawn on with chalk, finger and eraser, the hand that holds the
// tools, the chalk dust, and the frames that show them over the tray, with undo and the board
// kept for the next run. The window around it turns its input into the handlers below and shows
// the frames; the random draws, the key state, the clock and the sound come from the environment.
class Board : public BoardAccess {
 public:
  explicit Board(Environment& env, BoardHost* host = nullptr);
  ~Board() override;

  // Start-up: the settings, the texts, the generator's seed, the pictures and the tap sound, an
  // empty board (with the date when the settings ask for it), the first frame. A missing or
  // broken picture throws AppError and leaves the board idle: its handlers then do nothing.
  void Start();
  // The start-up steps that wait until the window shows: the tap sound made ready to play, and
  // the boards kept by earlier runs that no running program holds, as steps to undo.
  void AfterShown();
  bool Ready() const { return ready_; }

  // The frame step (the frame timer's tick): pending input, dust motion, tapping, the frame.
  void Tick();
  // True when a frame step now would change nothing: no dust in flight, no tap under way, no
  // overlay counting frames, and the frame on screen made of the inputs as they stand.
  bool Still() const;
  // Composes the frame again where it may differ from the one on screen and presents that.
  void Compose();
  // The whole frame of the board as it stands, composed afresh (the window shows the same).
  QImage WholeFrame() const;

  // Input, at client pixels; the key state is the environment's.
  void Press(MouseButton button, int x, int y);
  void Move(int x, int y);
  void Release(MouseButton button, int x, int y);
  void WheelTowardsUser();
  void WheelAwayFromUser();
  void KeyDown(Key key, bool alt);
  void KeyUp(Key key);

  // Menu commands.
  void RunMenuCommand(int item);
  void ClearBoard();
  void WriteDate();
  void Quit();
  // Undo and redo of the board's last change; nothing while a mouse button is held. True when
  // the board changed.
  bool Undo();
  bool Redo();
  // Writes the board to the kept board's file now, if it changed since the last write; the
  // shell calls it on every way of quitting. Nothing before start-up has finished.
  void KeepBoard();

  // The board's story, recorded from start-up, the last clear or the last picture loaded: every
  // input the board acts on and every frame step, with what those read besides (the key state,
  // the settings, the client size, the date written). An undo or redo that reaches past the story's
  // own changes starts it again from the board as it then stands.
  const Story& CurrentStory() const { return *story_; }
  // Plays the board's story in the window at the pace it was drawn (pauses in which nothing moved
  // shortened to 2 s), with its hand, dust and taps; the board, its history and its story stay as
  // they were. Any press or key ends it at once; at its end the board shows again.
  void StartReplay();
  void StopReplay();
  bool Replaying() const { return replay_ != nullptr; }
  // The state that frame steps read besides the picture, as it stands.
  StoryState CurrentState() const;
  // A board that plays a story instead of recording one: it starts from the story's picture and
  // first state, with the given pictures and tap sound, and records nothing (StoryPlayer).
  void StartFrom(const Story& story, const BoardPictures& pictures, SoundClip tap);
  // The board takes the state (a story resumed there).
  void ApplyState(const StoryState& state);

  // What a user or a file sees of the board.
  const QImage& Picture() const { return picture_; }
  const Hand& HandState() const { return hand_; }
  const DustList& Dust() const { return dust_; }
  const BoardHistory& History() const { return history_; }
  const BoardPictures& Pictures() const { return pictures_; }
  const QString& Caption() const { return caption_; }
  const QStringList& MenuCaptions() const { return menuCaptions_; }
  const QString& ExportFilter() const { return exportFilter_; }
  const QString& ClearQuestion() const { return clearQuestion_; }
  SoundClip TapSound() const { return tapSound_; }
  // The tap sound's file as read at start-up (a RIFF WAVE image); empty when it was missing.
  const QByteArray& TapSoundImage() const { return tapSoundImage_; }

  // The settings in use; the settings dialog changes them.
  Settings& SettingsInUse() { return settings_; }
  // The commands of the dialogs; the program wires them.
  BoardCommands& Commands() { return commands_; }
  // Lets pending window messages be handled (the frame step's first step); the shell sets it.
  void SetMessagePump(std::function<void()> pump) { messagePump_ = std::move(pump); }
  FrameSurface& Surface() { return surface_; }
  const FrameSurface& Surface() const { return surface_; }
  Environment& Env() { return env_; }
  BoardHost* Host() const { return host_; }
  QSize ClientSize() const;

  // BoardAccess.
  QImage& BoardPicture() override { return picture_; }
  BoardHistory& BoardChanges() override { return history_; }
  QImage WindowPicture() override;
  FrameTimer& Timer() override { return timer_; }
  QDateTime LocalNow() const override { return env_.clock.LocalNow(); }
  void LoadPicture(const QImage& picture) override;
  QByteArray EncodedStory() const override;
  void ContinueStory(Story story) override;

 private:
  // The application title, the window caption, the menu captions (separators "-"), the clear
  // question and the export filter, from the language texts.
  void ApplyTexts(const LanguageFile& language);
  void PlayTapSound();
  void Tap();
  // The press's own steps below the pick-up and the menu.
  void PressOnBoard(MouseButton button, int x, int y);
  // The pointer moved to (x, y): the tool in the hand goes with it (Move without the story).
  void MoveHand(int x, int y);
  void TurnChalk(int step, bool viaWheel);
  void StartKeptBoard();
  // Appends the event to the story, after the changes of the key state, the settings and the
  // client size since the last one.
  void Record(StoryEvent event);
  // Undo (back) or redo: the story records a step of its own, and starts again from a step that
  // reaches past its beginning.
  bool StepThroughHistory(bool back);
  void RestartStory();
  // Counts the undo steps made since the last count as the story's own.
  void CountStorySteps();
  // A frame step of the replay: the story played up to now, its frame shown.
  void ReplayStep();
  // The chalk tools drawing on this board's picture with its hand.
  ChalkTools Tools();
  // Tells the frame that the board changed only inside r since its cache key was keyBefore;
  // a change the frame was not told of makes it compose the whole board.
  void NoteBoardChange(qint64 keyBefore, const Rect& r);

  // Everything a frame is composed from; equal inputs give the same pixels.
  struct FrameInputs {
    qint64 board = 0;
    QSize client;
    Hand hand;
    int fps = 0;
    bool shift = false, left = false, right = false, debug = false;
    bool operator==(const FrameInputs&) const = default;
  };
  FrameScene Scene() const;
  FrameInputs CurrentFrameInputs() const;
  // True when the frame on screen is the one these inputs make (never with dust in flight).
  bool FrameOnScreen(const FrameInputs& inputs) const;
  // What the frame shows outside the moving parts: when it changes, the whole frame is composed.
  struct FrameLook {
    QSize client;
    int boardWidth = 0, B = 0, tool = 0;
    bool shift = false, debug = false;
    std::array<qint64, 6> pictures{};
    bool operator==(const FrameLook&) const = default;
  };
  FrameLook CurrentLook() const;

  Environment& env_;
  BoardHost* host_;
  FrameSurface surface_;
  FrameTimer timer_;
  bool ready_ = false;
  Settings settings_;
  BoardPictures pictures_;
  QImage picture_;  // the board: everything drawn, wiped and written; client width x (H - 48)
  std::array<Rect, 6> chalkSlots_{};  // where the chalks are picked up, as the tray lay at start
  Hand hand_;
  DustList dust_;
  QByteArray tapSoundImage_;  // "start0.wav", empty when missing
  SoundClip tapSound_;        // made ready once the window shows
  QString caption_, clearQuestion_, exportFilter_;
  QStringList menuCaptions_;
  BoardCommands commands_;
  std::function<void()> messagePump_;
  BoardHistory history_;
  std::optional<Story> story_;
  bool recording_ = true;
  std::uint32_t storyClock_ = 0;      // the clock's milliseconds when the story's time was 0...
  std::int64_t storyTimeOffset_ = 0;  // ...plus this (a continued story goes on from its end)
  std::int64_t recordedKeys_ = 0, recordedSettings_ = 0;
  QSize recordedClient_;
  int slotsClientHeight_ = 480;
  std::uint64_t storyMade_ = 0;            // history steps counted so far
  int storyUndo_ = 0, storyRedo_ = 0;      // steps of the story's own that can be undone, redone
  std::unique_ptr<Story> replayStory_;     // the story being replayed, as it stood...
  std::unique_ptr<StoryPlayer> replay_;    // ...and its player, while a replay runs
  std::uint32_t replayStart_ = 0;          // the clock's milliseconds when it began
  std::optional<FrameInputs> shownFrame_;  // inputs of the frame on screen, without dust
  std::optional<FrameLook> shownLook_;     // of the frame on screen
  FrameTiles shownMoving_;                 // tiles of the moving parts on screen
  FrameTiles boardChanged_;                // tiles of the board changed since the frame
  qint64 boardKnown_ = 0;                  // the board's cache key as the frame knows it
  qint64 shownBack_ = 0;                   // the back buffer's cache key after the last frame
  int frameDepth_ = 0;                     // frame steps past their message step (0 or 1)
  KeptBoard kept_{picture_};
};

}  // namespace slatewick
