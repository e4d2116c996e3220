#pragma once
#include <QDateTime>
#include <QImage>

#include "board/BoardHistory.h"
#include "board/Story.h"
#include "platform/FrameTimer.h"

namespace slatewick {

// What the layers above the board reach of it (the file chooser, the export, the screenshot):
// the board picture with its undo history, the window picture and the frame timer.
class BoardAccess {
 public:
  virtual ~BoardAccess() = default;
  // The board picture: the client width x (client height - TrayHeight) pixels, RGB32.
  virtual QImage& BoardPicture() = 0;
  // Undo and redo of the board picture; a change made through a HistoryScope can be undone.
  virtual BoardHistory& BoardChanges() = 0;
  // The window picture: the client area as last presented (800 x 480), RGB32.
  virtual QImage WindowPicture() = 0;
  // The frame timer; it is stopped while a dialog waits for the user.
  virtual FrameTimer& Timer() = 0;
  // A picture from a file, the clipboard or a drop becomes the board: one step to undo. It must
  // have the board picture's size.
  virtual void LoadPicture(const QImage& picture) = 0;
  // The board's story as its file holds it (Story::Encode), ending on the board picture; empty
  // before start-up.
  virtual QByteArray EncodedStory() const = 0;
  // The board, just loaded from a picture equal to the story's end, goes on with that story.
  virtual void ContinueStory(Story story) = 0;
  // The local date and time (screenshots are named by it).
  virtual QDateTime LocalNow() const = 0;
};

}  // namespace slatewick
