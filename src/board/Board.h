#pragma once
// The blackboard: its state, its frame step, its input and its menu.
//
// Glossary of the romanised Japanese words kept in names (settings keys, files, types):
//   Kona    chalk dust (TKona, DustList, ShowKona)
//   Yogore  dirt: the smudge that wiping leaves (Yogore)
//   Kado    the chalk's corner, drawing a thin line (KadoOnlyCtrl, CornerWay)
//   Kyori Seigen  distance limit of a normal-chalk stroke (KyoriSeigen)
//   Moji    letters: the glyph picture of the date and the menu button (Moji.bmp)
//   Ukezara the chalk tray along the bottom of the window (Ukezara.bmp)
//   Moti (Mochi) Chalk  the chalk held in the hand (MotiChalk.bmp)
#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>

#include "board/BoardAccess.h"
#include "board/BoardHistory.h"
#include "board/FrameTiles.h"
#include "board/KeptBoard.h"
#include "board/Tray.h"
#include "board/Unit_Ext.h"
#include "platform/DXDraw.h"
#include "platform/DXImageList.h"
#include "platform/DXTimer.h"
#include "platform/Types.h"
#include "settings/Language.h"
#include "settings/Settings.h"

namespace slatewick {

// Ways of using the chalk.
enum : std::uint8_t { NormalWay = 0, CornerWay = 1, LaidWay = 2, TapState = 3 };
constexpr std::int8_t EraserSelected = -1;
constexpr int ChalkHalfLength = 26;

// The laid chalk's two ends, stored as if the chalk's angle were positive.
struct TChalkBox {
  std::int32_t EndAX = 0, EndAY = 0, EndBX = 0, EndBY = 0;
};

// Everything the board knows, for the whole run. One instance, owned by the main window; all
// board steps, dialogs and exports read and write it here.
struct BoardState {
  bool BoardReady = false;
  QImage BoardBitmap;      // W x B, everything drawn, wiped and written
  QImage TrayBitmap;       // first column is the tray's cross-section
  QImage ChalkBitmap;      // six 52 x 11 pieces
  QImage EraserBitmap;     // 128 x 72
  QImage GlyphBitmap;      // date glyphs, menu button at (448, 64)
  QImage HeldChalkBitmap;  // six 40 x 40 chalks in the hand
  QImage HandBitmap;       // 24 x 74
  bool PenDown = false;
  bool FingerDown = false;
  TColor BoardColor = 0;
  std::int32_t ChalkSize = 0;
  std::array<TRect, 6> ChalkSlots{};  // as the tray lay at start-up (TrayGeometry::ChalkSlot)
  std::array<TColor, 6> ChalkColors{};
  std::int8_t SelectedChalk = 0;  // 0..5 a chalk, -1 the eraser
  TKonaList DustList;
  std::uint8_t DustMoveCount = 0;
  std::int32_t StrokeCount = 0;
  std::int32_t PenX = 0, PenY = 0;
  std::int32_t ChalkX = 0, ChalkY = 0;
  TMemoryStreamList SoundList;
  std::uint8_t ToolMode = NormalWay;
  std::int8_t ChalkAngle = 0;  // degrees, multiple of 5 in -90..90, positive clockwise
  TChalkBox ChalkBox;
  QImage ChalkPatternBitmap;  // 8 x 8, null until the first laid-chalk step
  Settings Opt;
  QString ClearConfirmText;
  std::array<double, 256> CosineTable{};
  BoardHistory History;  // undo and redo of BoardBitmap
};

enum class MouseButton { Left, Right, Middle };

// Popup-menu items of the main window, in their order in the menu.
enum class MenuItem {
  ClearAll,
  WriteDate,
  Separator1,
  Load,
  Store,
  Export,
  Separator2,
  Settings,
  About,
  Quit
};
constexpr int MenuItemCount = 10;

// What the board needs of the window around it (the shell implements it; tests script it).
class BoardHost {
 public:
  virtual ~BoardHost() = default;
  virtual QSize ClientSize() const = 0;
  virtual void Close() = 0;
  // Shows the popup menu at the mouse cursor until it closes; the chosen item or -1.
  virtual int PopupMenu(const QStringList& captions) = 0;
};

// The main window's board: the handlers of the window, its timer and its menu.
class Board : public BoardAccess {
 public:
  explicit Board(BoardHost* host = nullptr);

  BoardState st;
  TDXDraw DXDraw;
  TDXTimer Timer;
  TDXImageList DXIL;
  QString Caption;           // the window's caption
  QStringList menuCaptions;  // captions of `pop`, indexed by MenuItem
  QString exportFilter;      // filter of the export's save dialog

  // Modal dialogs and their commands; the main block wires them to the dialog windows.
  std::function<void()> onLoad, onStore, onExport, onSettings, onAbout, onScreenShot;
  // Lets pending window messages be handled (the frame step's first step); the shell sets it.
  std::function<void()> processMessages;

  BoardHost* Host() const { return host_; }
  void SetHost(BoardHost* host) { host_ = host; }
  int ClientWidth() const;
  int ClientHeight() const;

  QImage& BoardPicture() override { return st.BoardBitmap; }
  BoardHistory& BoardChanges() override { return st.History; }
  QImage WindowPicture() override;
  TDXTimer& FrameTimer() override { return Timer; }

  // Start-up.
  void Start();
  // The start-up steps that wait until the window shows: the tap sound made ready to play, and
  // the last run's board, where it differs, as the one step to undo (this run's board is kept
  // from then on).
  void AfterShown();
  // The board colour, the chalk size, colours and slots and the cosine table, as start-up sets
  // them for the client area at this moment.
  void SetStartTables();
  // The application title, the window caption, the menu captions (separators "-"), the clear
  // question and the export filter, from the language texts.
  void ApplyTexts(const LanguageFile& language);
  // Frame step and composition.
  void Tick(int LagCount);
  // True when a frame step now would change nothing: no dust in flight, no tap under way, no
  // overlay counting frames, and the frame on screen made of the inputs as they stand.
  bool Still() const;
  // Composes the frame again where it may differ from the one on screen and presents that.
  void Compose();
  // The whole frame of the board as it stands, composed afresh (the window shows the same).
  QImage WholeFrame() const;
  // Tells the frame that the board changed only inside r since its cache key was keyBefore;
  // a change the frame was not told of makes it compose the whole board.
  void NoteBoardChange(qint64 keyBefore, const TRect& r);
  // Input.
  void Press(MouseButton Button, int X, int Y);
  void Move(int X, int Y);
  void Release(MouseButton Button, int X, int Y);
  void WheelTowardsUser();
  void WheelAwayFromUser();
  void KeyDown(int Key, bool Alt);
  void KeyUp(int Key);
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

  // Drawing steps.
  void DrawDate();
  TColor ChalkShade(int chalk);
  void BuildChalkPattern(int chalk);
  int CosOffset(int Radius, int Angle) const;
  int SinOffset(int Radius, int Angle) const;
  void ChalkStep(int X, int Y);
  void DrawLaidChalk(int X, int Y);
  void FingerLine(int X, int Y);
  void EraserStep(int X, int Y);
  void DustCheck(int X, int Y);
  TColor WipeColor() const;
  void AddDust(int count, int X, int Y);

 private:
  void TurnChalk(int step, bool viaWheel);
  void PlayTapSound();
  // The press's own steps below the pick-up and the menu.
  void PressOnBoard(MouseButton Button, int X, int Y);
  void StartKeptBoard();

  // Everything a frame is composed from; equal inputs give the same pixels.
  struct FrameInputs {
    qint64 board = 0;
    int W = 0, H = 0, penX = 0, penY = 0, chalkX = 0, chalkY = 0, strokeCount = 0, fps = 0;
    int selected = 0, toolMode = 0, angle = 0, dustMoves = 0;
    bool shift = false, left = false, right = false, penDown = false, fingerDown = false;
    bool debug = false;
    bool operator==(const FrameInputs&) const = default;
  };
  FrameInputs CurrentFrameInputs() const;
  // True when the frame on screen is the one these inputs make (never with dust in flight).
  bool FrameOnScreen(const FrameInputs& inputs) const;
  // What the frame shows outside the moving parts: when it changes, the whole frame is composed.
  struct FrameLook {
    int W = 0, H = 0, boardWidth = 0, B = 0, selected = 0;
    bool shift = false, debug = false;
    std::array<qint64, 6> pictures{};
    std::array<TColor, 6> colours{};
    bool operator==(const FrameLook&) const = default;
  };
  FrameLook CurrentLook() const;
  // Marks the tiles of the parts that move: the hand, the laid chalk, the dust, the overlay.
  void MarkMovingParts(FrameTiles& tiles) const;
  // Composes the frame inside the rectangles; pixels of moving parts may spill beyond them only
  // into tiles MarkMovingParts marks.
  void ComposeFrame(QImage& frame, const std::vector<TRect>& rects) const;
  void DrawDust(QImage& frame) const;

  BoardHost* host_;
  std::optional<FrameInputs> shownFrame_;  // inputs of the frame on screen, without dust
  std::optional<FrameLook> shownLook_;     // of the frame on screen
  FrameTiles shownMoving_;                 // tiles of the moving parts on screen
  FrameTiles boardChanged_;                // tiles of the board changed since the frame
  qint64 boardKnown_ = 0;                  // the board's cache key as the frame knows it
  qint64 shownBack_ = 0;                   // the back buffer's cache key after the last frame
  int frameDepth_ = 0;                     // frame steps past their message step (0 or 1)
  KeptBoard kept_{st.BoardBitmap};
};

// The chalk colour darkened channel by channel; yellow and pink keep green at 80 or more.
TColor ShadeColor(TColor Color, std::int16_t dR, std::int16_t dG, std::int16_t dB);
// The whole number nearest to x; of two equally near, the even one.
int Nearest(double x);

}  // namespace slatewick
